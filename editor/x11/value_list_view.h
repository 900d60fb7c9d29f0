// What the X11 value list shows and which entry it stands on, without any drawing: the
// entries, the selected one (what a commit applies), the one under the pointer (only
// highlighted), and which rows are in view when the list is longer than the editor is high.
// Keys and the wheel move the selection and scroll it into view; clicks on the scroll bar
// move only the view.
#pragma once

#include <string>
#include <vector>

namespace velmora {

class ValueListView {
 public:
  // entries in order, the selected one (-1 for none) and how many rows fit.
  ValueListView(std::vector<std::string> entries, int selected, int visibleRows);

  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& Entry(int index) const { return entries_[static_cast<size_t>(index)]; }
  int VisibleRows() const { return visibleRows_; }
  // The first entry in view.
  int Top() const { return top_; }
  bool Scrolls() const { return Count() > visibleRows_; }
  bool MoreAbove() const { return top_ > 0; }
  bool MoreBelow() const { return top_ + visibleRows_ < Count(); }

  int Selected() const { return selected_; }
  // What a commit applies: the selected entry, or nothing.
  std::string SelectedText() const;
  int Hovered() const { return hovered_; }

  // The entry shown in a row of the view (0 = top row), or -1 below the last entry.
  int EntryInRow(int row) const;

  // Moves the selection by step entries (from the first or the last entry when none is
  // selected yet), stopping at the ends, and keeps it in view.
  void MoveSelection(int step);
  void SelectFirst();
  void SelectLast();
  // One view's worth of entries up or down.
  void PageUp() { MoveSelection(-visibleRows_); }
  void PageDown() { MoveSelection(visibleRows_); }
  // Selects an entry (a click on its row) and keeps it in view.
  void Select(int index);
  // The pointer is over this entry (-1: over none); true when that changed.
  bool Hover(int index);
  // Moves the view by rows, leaving the selection where it is.
  void Scroll(int rows);

 private:
  void KeepSelectedInView();

  std::vector<std::string> entries_;
  int visibleRows_;
  int selected_;
  int hovered_ = -1;
  int top_ = 0;
};

}  // namespace velmora
