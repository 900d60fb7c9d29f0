#include "editor/x11/value_list_view.h"

#include <algorithm>

namespace velmora {

ValueListView::ValueListView(std::vector<std::string> entries, int selected, int visibleRows)
    : entries_(std::move(entries)),
      visibleRows_(std::max(1, visibleRows)),
      selected_(selected >= 0 && selected < static_cast<int>(entries_.size()) ? selected : -1) {
  // Opened with the current entry in view, as near the middle of the view as the ends allow.
  if (selected_ >= 0 && Scrolls()) {
    Scroll(selected_ - visibleRows_ / 2);
  }
}

std::string ValueListView::SelectedText() const {
  return selected_ >= 0 ? Entry(selected_) : std::string();
}

int ValueListView::EntryInRow(int row) const {
  if (row < 0 || row >= visibleRows_) {
    return -1;
  }
  const int index = top_ + row;
  return index < Count() ? index : -1;
}

void ValueListView::MoveSelection(int step) {
  if (Count() == 0) {
    return;
  }
  const int from = selected_ < 0 ? (step > 0 ? -1 : Count()) : selected_;
  Select(std::clamp(from + step, 0, Count() - 1));
}

void ValueListView::SelectFirst() {
  if (Count() > 0) {
    Select(0);
  }
}

void ValueListView::SelectLast() {
  if (Count() > 0) {
    Select(Count() - 1);
  }
}

void ValueListView::Select(int index) {
  if (index < 0 || index >= Count()) {
    return;
  }
  selected_ = index;
  KeepSelectedInView();
}

bool ValueListView::Hover(int index) {
  const int hovered = index >= 0 && index < Count() ? index : -1;
  if (hovered == hovered_) {
    return false;
  }
  hovered_ = hovered;
  return true;
}

void ValueListView::Scroll(int rows) {
  const int lastTop = std::max(0, Count() - visibleRows_);
  top_ = std::clamp(top_ + rows, 0, lastTop);
}

void ValueListView::KeepSelectedInView() {
  if (selected_ < top_) {
    Scroll(selected_ - top_);
  } else if (selected_ >= top_ + visibleRows_) {
    Scroll(selected_ - (top_ + visibleRows_ - 1));
  }
}

}  // namespace velmora
