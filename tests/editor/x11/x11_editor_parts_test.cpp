// The X11 editor's parts that need no display: the pop-up box's editing, the key table and
// which web addresses are handed to the launcher.
#include <gtest/gtest.h>

#include "editor/editor_window.h"
#include "editor/x11/entry_field.h"
#include "editor/web_address.h"
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
