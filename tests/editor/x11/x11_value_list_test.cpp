// The X11 value list as a user meets it: every entry of the long lists (both 31-entry sweep
// rates and the 25-entry Delay Rate) chosen by a click and by keys, with the selected entry
// in the picture of the open list; the pointer only highlighting; a right click on the list
// cancelling. Writes the picture of the open Left Sweep Rate list with "32/1" selected to
// out/x11-sweep-rate-list.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "editor/x11/value_list_view.h"
#include "graphics/pixel_image.h"
#include "tests/editor/x11/x11_test_host.h"
#include "tools/snapshot/png_writer.h"

#include <X11/keysym.h>

namespace velmora::testing {
namespace {

using host::HostCall;

constexpr int kEditorHeight = 486;
constexpr int kRowHeight = 18;
constexpr int kScrollBar = 10;
constexpr uint32_t kSelectionColour = 0x3070C0;  // the selected row's band
constexpr uint32_t kHoverColour = 0xD6E4F6;      // the row under the pointer

struct ListedParam {
  int index;
  int count;  // entries
  int x;      // a point on its knob
  int y;
};
constexpr ListedParam kDelayRate{0, 25, 95, 145};
constexpr ListedParam kLeftSweepRate{8, 31, 193, 300};
constexpr ListedParam kRightSweepRate{15, 31, 434, 300};
constexpr ListedParam kLongLists[] = {kLeftSweepRate, kRightSweepRate, kDelayRate};

struct OpenList {
  Window window = 0;
  int x = 0, y = 0, width = 0, height = 0;
};

class X11ValueList : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(host_.Error(), "");
    ASSERT_TRUE(host_.OpenEditor());
  }
  void TearDown() override {
    host_.CloseEditor();
    EXPECT_EQ(X11TestHost::ErrorCount(), 0);
  }

  // The parameter's texts, read through the host by showing each value in turn.
  std::vector<std::string> Texts(const ListedParam& param) {
    std::vector<std::string> texts;
    for (int value = 0; value < param.count; ++value) {
      host_.Plugin().SetParameter(param.index, static_cast<float>(value) / (param.count - 1));
      texts.push_back(host_.Plugin().ParamDisplay(param.index));
    }
    return texts;
  }
  int CurrentEntry(const ListedParam& param, const std::vector<std::string>& texts) {
    const std::string shown = host_.Plugin().ParamDisplay(param.index);
    for (size_t i = 0; i < texts.size(); ++i) {
      if (texts[i] == shown) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
  // What the list shows once opened on the current entry.
  ValueListView ViewOnOpen(const ListedParam& param, const std::vector<std::string>& texts) {
    const int rows = std::min(param.count, (kEditorHeight - 2) / kRowHeight);
    return ValueListView(texts, CurrentEntry(param, texts), rows);
  }

  OpenList Open(const ListedParam& param) {
    OpenList list;
    const size_t ends = host_.CountCalls(vst::audioMasterEndEdit);
    host_.Click(param.x, param.y, Button3);
    WaitUntil([&] {
      const std::vector<Window> children = host_.Children(host_.EditorWindow());
      list.window = children.size() == 1 ? children.front() : 0;
      return list.window != 0;
    });
    if (list.window != 0) {
      host_.Geometry(list.window, &list.x, &list.y, &list.width, &list.height);
    }
    // The right click's own gesture has ended before the list is answered.
    WaitUntil([&] { return host_.CountCalls(vst::audioMasterEndEdit) > ends; });
    return list;
  }
  bool WaitForNoList() {
    return WaitUntil([&] { return host_.Children(host_.EditorWindow()).empty(); });
  }
  // The row of the open list (0 = top row in view) drawn as selected, or -1.
  int SelectedRowShown(const OpenList& list) {
    const std::vector<uint32_t> pixels = host_.Grab();
    const int width = 499;
    for (int row = 0; (row + 1) * kRowHeight <= list.height - 2; ++row) {
      const int y = list.y + 1 + row * kRowHeight + 2;
      const int x = list.x + 3;
      if (static_cast<size_t>(y * width + x) < pixels.size() &&
          pixels[static_cast<size_t>(y * width + x)] == kSelectionColour) {
        return row;
      }
    }
    return -1;
  }
  bool WaitForSelectedRow(const OpenList& list, int row) {
    return WaitUntil([&] { return SelectedRowShown(list) == row; });
  }
  void ClickRow(const OpenList& list, int row) {
    host_.Click(list.x + 20, list.y + 1 + row * kRowHeight + kRowHeight / 2, Button1);
  }

  X11TestHost host_;
};

TEST_F(X11ValueList, TheLongListsFitTheEditorAndScrollWhenTheyMust) {
  for (const ListedParam& param : kLongLists) {
    const std::vector<std::string> texts = Texts(param);
    host_.Plugin().SetParameter(param.index, 0.0f);
    const OpenList list = Open(param);
    ASSERT_NE(list.window, 0u) << param.index;
    EXPECT_GE(list.y, 0);
    EXPECT_LE(list.y + list.height, kEditorHeight);
    EXPECT_GE(list.x, 0);
    EXPECT_LE(list.x + list.width, 499);
    const ValueListView view = ViewOnOpen(param, texts);
    EXPECT_EQ(list.height, view.VisibleRows() * kRowHeight + 2);
    // Longer than the editor is high: a scroll bar beside the rows shows there is more.
    EXPECT_EQ(view.Scrolls(), param.count > 26);
    EXPECT_EQ(list.width, 8 * 5 + 24 + (view.Scrolls() ? kScrollBar : 0)) << param.index;
    EXPECT_TRUE(WaitForSelectedRow(list, 0));
    host_.Click(list.x + 5, list.y + 5, Button3);  // cancelled by a right click on it
    ASSERT_TRUE(WaitForNoList());
  }
}

TEST_F(X11ValueList, EveryEntryOfTheLongListsIsChosenByKeys) {
  for (const ListedParam& param : kLongLists) {
    const std::vector<std::string> texts = Texts(param);
    for (int entry = 0; entry < param.count; ++entry) {
      const OpenList list = Open(param);
      ASSERT_NE(list.window, 0u);
      ValueListView view = ViewOnOpen(param, texts);
      // Home, then down to the entry, by pages first: the selection stays in view.
      std::vector<unsigned long> keys{XK_Home};
      view.SelectFirst();
      while (view.Selected() + view.VisibleRows() <= entry) {
        keys.push_back(XK_Next);
        view.PageDown();
      }
      while (view.Selected() < entry) {
        keys.push_back(XK_Down);
        view.MoveSelection(1);
      }
      host_.TypeKeys(keys);
      ASSERT_TRUE(WaitForSelectedRow(list, view.Selected() - view.Top()))
          << param.index << " entry " << entry << ": shows row " << SelectedRowShown(list);
      host_.TypeKeys({XK_Return});
      ASSERT_TRUE(WaitForNoList());
      ASSERT_TRUE(WaitUntil([&] {
        return host_.Plugin().ParamDisplay(param.index) == texts[entry];
      })) << param.index
          << " entry " << entry;
    }
    // End reaches the last entry and Page Up climbs back a view at a time.
    const OpenList list = Open(param);
    ValueListView view = ViewOnOpen(param, texts);
    view.SelectLast();
    view.PageUp();
    host_.TypeKeys({XK_End, XK_Prior});
    ASSERT_TRUE(WaitForSelectedRow(list, view.Selected() - view.Top()));
    host_.TypeKeys({XK_Return});
    ASSERT_TRUE(WaitForNoList());
    ASSERT_TRUE(WaitUntil(
        [&] { return host_.Plugin().ParamDisplay(param.index) == texts[view.Selected()]; }));
  }
}

TEST_F(X11ValueList, EveryEntryOfTheLongListsIsChosenByAClickAfterScrolling) {
  for (const ListedParam& param : kLongLists) {
    const std::vector<std::string> texts = Texts(param);
    for (int entry = param.count - 1; entry >= 0; --entry) {
      const OpenList list = Open(param);
      ASSERT_NE(list.window, 0u);
      ValueListView view = ViewOnOpen(param, texts);
      // The scroll bar's track, above or below its thumb, moves the view a page.
      while (entry >= view.Top() + view.VisibleRows()) {
        host_.Click(list.x + list.width - 5, list.y + list.height - 3, Button1);
        view.Scroll(view.VisibleRows());
      }
      while (entry < view.Top()) {
        host_.Click(list.x + list.width - 5, list.y + 2, Button1);
        view.Scroll(-view.VisibleRows());
      }
      ClickRow(list, entry - view.Top());
      ASSERT_TRUE(WaitForNoList()) << param.index << " entry " << entry;
      ASSERT_TRUE(WaitUntil([&] {
        return host_.Plugin().ParamDisplay(param.index) == texts[entry];
      })) << param.index
          << " entry " << entry << " shows " << host_.Plugin().ParamDisplay(param.index);
    }
  }
}

TEST_F(X11ValueList, ThePictureOfTheOpenSweepRateListShowsALateSelectedEntry) {
  const std::vector<std::string> texts = Texts(kLeftSweepRate);
  host_.Plugin().SetParameter(kLeftSweepRate.index, 12.0f / 30.0f);  // "1/2"
  const OpenList list = Open(kLeftSweepRate);
  ASSERT_NE(list.window, 0u);
  host_.TypeKeys({XK_End});  // "32/1", the last entry
  ValueListView view = ViewOnOpen(kLeftSweepRate, texts);
  view.SelectLast();
  ASSERT_TRUE(WaitForSelectedRow(list, view.Selected() - view.Top()));
  host_.MoveTo(list.x + 20, list.y + 1 + 3 * kRowHeight + 9);  // hovering a row meanwhile
  ASSERT_TRUE(WaitUntil([&] {
    const std::vector<uint32_t> pixels = host_.Grab();
    const size_t at = static_cast<size_t>((list.y + 1 + 3 * kRowHeight + 2) * 499 + list.x + 3);
    return at < pixels.size() && pixels[at] == kHoverColour;
  }));
  const std::vector<uint32_t> pixels = host_.Grab();
  ASSERT_EQ(pixels.size(), 499u * 486u);
  PixelImage picture;
  ASSERT_TRUE(picture.Resize(499, 486));
  for (int y = 0; y < 486; ++y) {
    for (int x = 0; x < 499; ++x) {
      picture.SetPixel(x, y, 0xFF000000u | pixels[static_cast<size_t>(y * 499 + x)]);
    }
  }
  std::filesystem::create_directories(std::filesystem::path(VELMORA_LIST_PICTURE).parent_path());
  EXPECT_EQ(snapshot::WriteRgbPng(picture, VELMORA_LIST_PICTURE), "");
  host_.TypeKeys({XK_Return});
  ASSERT_TRUE(WaitForNoList());
  EXPECT_TRUE(
      WaitUntil([&] { return host_.Plugin().ParamDisplay(kLeftSweepRate.index) == "32/1"; }));
}

// Crossing rows with the pointer only highlights them: a left click outside the list then
// commits the entry that was selected, at first the current one.
TEST_F(X11ValueList, HoveringOnlyHighlightsAndAClickOutsideCommitsTheSelection) {
  const std::vector<std::string> texts = Texts(kRightSweepRate);
  host_.Plugin().SetParameter(kRightSweepRate.index, 12.0f / 30.0f);
  OpenList list = Open(kRightSweepRate);
  ASSERT_NE(list.window, 0u);
  for (int row = 0; row < 20; row += 3) {
    host_.MoveTo(list.x + 20, list.y + 1 + row * kRowHeight + 9);
  }
  ValueListView view = ViewOnOpen(kRightSweepRate, texts);
  ASSERT_TRUE(WaitForSelectedRow(list, view.Selected() - view.Top()));
  host_.ClearCalls();
  host_.Click(250, 470, Button1);  // the bare panel
  ASSERT_TRUE(WaitForNoList());
  ASSERT_TRUE(WaitUntil([&] { return host_.CountCalls(vst::audioMasterEndEdit) >= 1; }));
  EXPECT_EQ(host_.Plugin().ParamDisplay(kRightSweepRate.index), "1/2");

  // The wheel moves the selection; the click outside then commits that.
  list = Open(kRightSweepRate);
  host_.MoveTo(list.x + 20, list.y + 40);
  for (int notch = 0; notch < 3; ++notch) {
    host_.Press(Button5);
    host_.Release(Button5);
  }
  view = ViewOnOpen(kRightSweepRate, texts);
  view.MoveSelection(3);
  ASSERT_TRUE(WaitForSelectedRow(list, view.Selected() - view.Top()));
  host_.Click(250, 470, Button1);
  ASSERT_TRUE(WaitForNoList());
  EXPECT_TRUE(WaitUntil(
      [&] { return host_.Plugin().ParamDisplay(kRightSweepRate.index) == texts[12 + 3]; }));
}

TEST_F(X11ValueList, ARightClickOnTheListCancelsIt) {
  host_.Plugin().SetParameter(kLeftSweepRate.index, 0.0f);
  const OpenList list = Open(kLeftSweepRate);
  ASSERT_NE(list.window, 0u);
  host_.TypeKeys({XK_Down, XK_Down});
  ASSERT_TRUE(WaitForSelectedRow(list, 2));
  host_.ClearCalls();
  host_.Click(list.x + 20, list.y + 1 + 5 * kRowHeight + 9, Button3);
  ASSERT_TRUE(WaitForNoList());
  EXPECT_EQ(host_.Plugin().ParamDisplay(kLeftSweepRate.index), "1/32");
  EXPECT_EQ(host_.CountCalls(vst::audioMasterBeginEdit), 0u);
  EXPECT_EQ(host_.CountCalls(vst::audioMasterEndEdit), 0u);
}

}  // namespace
}  // namespace velmora::testing
