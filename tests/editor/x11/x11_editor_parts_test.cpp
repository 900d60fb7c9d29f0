// The X11 editor's parts that need no display: the pop-up box's editing, the value list's
// selection and view, the key table and which web addresses are handed to the launcher.
#include <gtest/gtest.h>

#include "editor/editor_window.h"
#include "editor/web_address.h"
#include "editor/x11/entry_field.h"
#include "editor/x11/value_list_view.h"
#include "editor/x11/web_address_launcher.h"
#include "editor/x11/x11_key_table.h"

#include <X11/keysym.h>

namespace velmora::testing {
namespace {

using Key = EntryField::Key;

TEST(EntryField, StartsAllSelectedSoTypingReplacesTheText) {
  EntryField field("3000");
  EXPECT_EQ(field.SelectionStart(), 0u);
  EXPECT_EQ(field.SelectionEnd(), 4u);
  for (char c : std::string("2000")) {
    field.Type(c);
  }
  EXPECT_EQ(field.Text(), "2000");
  EXPECT_EQ(field.Caret(), 4u);
  EXPECT_FALSE(field.HasSelection());
}

TEST(EntryField, EditingKeysMoveTheCaretAndDelete) {
  EntryField field("1234");
  field.Press(Key::kHome, false);
  field.Press(Key::kDelete, false);
  EXPECT_EQ(field.Text(), "234");
  field.Press(Key::kEnd, false);
  field.Press(Key::kBackspace, false);
  EXPECT_EQ(field.Text(), "23");
  field.Press(Key::kLeft, false);
  field.Type('9');
  EXPECT_EQ(field.Text(), "293");
  field.Press(Key::kRight, false);
  field.Press(Key::kRight, false);  // stays at the end
  field.Press(Key::kBackspace, false);
  EXPECT_EQ(field.Text(), "29");
  field.Press(Key::kHome, false);
  field.Press(Key::kBackspace, false);  // nothing before the caret
  field.Press(Key::kEnd, false);
  field.Press(Key::kDelete, false);  // nothing after it
  EXPECT_EQ(field.Text(), "29");
  // Shift extends from the anchor; an arrow without it collapses to the selection's edge.
  field.Press(Key::kLeft, true);
  EXPECT_EQ(field.SelectionStart(), 1u);
  EXPECT_EQ(field.SelectionEnd(), 2u);
  field.Press(Key::kLeft, false);
  EXPECT_EQ(field.Caret(), 1u);
  EXPECT_FALSE(field.HasSelection());
  field.SelectAll();
  field.Press(Key::kDelete, false);
  EXPECT_EQ(field.Text(), "");
}

TEST(EntryField, KeepsPrintableTextWithinItsLengthAndMasks) {
  EntryField field("");
  field.Type('\n');
  field.Type('\x7F');
  field.Type(static_cast<char>(0xE9));
  EXPECT_EQ(field.Text(), "");
  for (size_t i = 0; i < EntryField::kMaxLength + 5; ++i) {
    field.Type('7');
  }
  EXPECT_EQ(field.Text().size(), EntryField::kMaxLength);
  EntryField secret("pass");
  EXPECT_EQ(secret.Shown(true), "****");
  EXPECT_EQ(secret.Shown(false), "pass");
  secret.ClearSelection();
  EXPECT_EQ(secret.Caret(), 4u);
  EXPECT_FALSE(secret.HasSelection());
}

// Each key as the editor's key table sees it after the X translation.
int KeyCodeOf(KeySym sym) {
  return IEditorWindow::MapKeyCode(PlatformKeyForKeySym(sym));
}

TEST(X11KeyTable, SpaceArrowsDigitsAndLettersReachTheTableOthersAreSwallowed) {
  EXPECT_EQ(KeyCodeOf(XK_space), 0);
  EXPECT_EQ(KeyCodeOf(XK_Up), 1);
  EXPECT_EQ(KeyCodeOf(XK_Down), 2);
  EXPECT_EQ(KeyCodeOf(XK_Left), 3);
  EXPECT_EQ(KeyCodeOf(XK_Right), 4);
  EXPECT_EQ(KeyCodeOf(XK_0), 5);
  EXPECT_EQ(KeyCodeOf(XK_9), 14);
  EXPECT_EQ(KeyCodeOf(XK_a), 15);
  EXPECT_EQ(KeyCodeOf(XK_A), 15);
  EXPECT_EQ(KeyCodeOf(XK_z), 40);
  EXPECT_EQ(KeyCodeOf(XK_KP_1), 15);  // the keypad's 1 has the number of lower-case 'a'
  EXPECT_EQ(KeyCodeOf(XK_F11), 40);
  EXPECT_EQ(KeyCodeOf(XK_Escape), -1);
  EXPECT_EQ(KeyCodeOf(XK_Return), -1);
  EXPECT_EQ(KeyCodeOf(XK_KP_0), -1);
  EXPECT_EQ(KeyCodeOf(XK_F12), -1);
  EXPECT_EQ(KeyCodeOf(XK_exclam), -1);
}

TEST(WebAddress, OnlyWebAndMailAddressesAreOpened) {
  EXPECT_TRUE(IsOpenableWebAddress("http://example.org/"));
  EXPECT_TRUE(IsOpenableWebAddress("HTTPS://example.org/a?b=c&d"));
  EXPECT_TRUE(IsOpenableWebAddress("mailto:someone@example.org"));
  EXPECT_FALSE(IsOpenableWebAddress(nullptr));
  EXPECT_FALSE(IsOpenableWebAddress(""));
  EXPECT_FALSE(IsOpenableWebAddress("https://"));
  EXPECT_FALSE(IsOpenableWebAddress("file:///etc/passwd"));
  EXPECT_FALSE(IsOpenableWebAddress("javascript:alert(1)"));
  EXPECT_FALSE(IsOpenableWebAddress("/usr/bin/xterm"));
  EXPECT_FALSE(IsOpenableWebAddress("--help"));
  EXPECT_FALSE(IsOpenableWebAddress("http://a b"));
  EXPECT_FALSE(IsOpenableWebAddress("http://a\nb"));
  EXPECT_FALSE(LaunchWebAddress("file:///etc/passwd"));
}

}  // namespace
}  // namespace velmora::testing

namespace velmora::testing {
namespace {

std::vector<std::string> Entries(int count) {
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i) {
    entries.push_back("entry " + std::to_string(i));
  }
  return entries;
}

TEST(ValueListView, OpensWithTheCurrentEntryInViewNearTheMiddle) {
  const ValueListView late(Entries(31), 30, 26);
  EXPECT_TRUE(late.Scrolls());
  EXPECT_EQ(late.Top(), 5);  // as far down as the view goes
  EXPECT_TRUE(late.MoreAbove());
  EXPECT_FALSE(late.MoreBelow());
  EXPECT_EQ(late.EntryInRow(25), 30);
  const ValueListView middle(Entries(31), 15, 26);
  EXPECT_EQ(middle.Top(), 2);
  const ValueListView early(Entries(31), 3, 26);
  EXPECT_EQ(early.Top(), 0);
  const ValueListView fits(Entries(25), 24, 25);
  EXPECT_FALSE(fits.Scrolls());
  EXPECT_EQ(fits.Top(), 0);
  const ValueListView none(Entries(5), -1, 5);
  EXPECT_EQ(none.Selected(), -1);
  EXPECT_EQ(none.SelectedText(), "");
}

TEST(ValueListView, KeysAndTheWheelMoveTheSelectionAndKeepItInView) {
  ValueListView view(Entries(31), 0, 26);
  for (int i = 1; i <= 30; ++i) {
    view.MoveSelection(1);
    EXPECT_EQ(view.Selected(), i);
    EXPECT_GE(view.Selected(), view.Top());
    EXPECT_LT(view.Selected(), view.Top() + view.VisibleRows());
  }
  view.MoveSelection(1);  // stops at the end
  EXPECT_EQ(view.Selected(), 30);
  EXPECT_EQ(view.SelectedText(), "entry 30");
  view.PageUp();
  EXPECT_EQ(view.Selected(), 4);
  EXPECT_EQ(view.Top(), 4);
  view.PageUp();
  EXPECT_EQ(view.Selected(), 0);
  EXPECT_EQ(view.Top(), 0);
  view.PageDown();
  EXPECT_EQ(view.Selected(), 26);
  EXPECT_EQ(view.Top(), 1);
  view.SelectFirst();
  EXPECT_EQ(view.Top(), 0);
  view.SelectLast();
  EXPECT_EQ(view.Selected(), 30);
  EXPECT_EQ(view.Top(), 5);
  // Without a selection the first step down lands on the first entry, up on the last.
  ValueListView fresh(Entries(31), -1, 26);
  fresh.MoveSelection(1);
  EXPECT_EQ(fresh.Selected(), 0);
  ValueListView fromEnd(Entries(31), -1, 26);
  fromEnd.MoveSelection(-1);
  EXPECT_EQ(fromEnd.Selected(), 30);
}

TEST(ValueListView, HoverAndScrollingLeaveTheSelectionAlone) {
  ValueListView view(Entries(31), 12, 26);
  EXPECT_TRUE(view.Hover(20));
  EXPECT_FALSE(view.Hover(20));
  EXPECT_EQ(view.Selected(), 12);
  EXPECT_TRUE(view.Hover(99));  // beyond the entries: over none
  EXPECT_EQ(view.Hovered(), -1);
  view.Scroll(100);
  EXPECT_EQ(view.Top(), 5);
  view.Scroll(-100);
  EXPECT_EQ(view.Top(), 0);
  EXPECT_EQ(view.Selected(), 12);
  EXPECT_EQ(view.EntryInRow(26), -1);
  EXPECT_EQ(view.EntryInRow(-1), -1);
  view.Select(40);  // no such entry
  EXPECT_EQ(view.Selected(), 12);
  ValueListView empty({}, -1, 26);
  empty.MoveSelection(1);
  empty.SelectLast();
  EXPECT_EQ(empty.Selected(), -1);
  EXPECT_EQ(empty.EntryInRow(0), -1);
}

}  // namespace
}  // namespace velmora::testing
