#include "editor/x11/entry_field.h"

namespace velmora {

EntryField::EntryField(const std::string& text) : text_(text.substr(0, kMaxLength)) {
  SelectAll();
}

void EntryField::SelectAll() {
  anchor_ = 0;
  caret_ = text_.size();
}

void EntryField::ClearSelection() {
  caret_ = text_.size();
  anchor_ = caret_;
}

void EntryField::Type(char character) {
  if (character < 0x20 || character > 0x7E) {
    return;
  }
  DeleteSelection();
  if (text_.size() >= kMaxLength) {
    return;
  }
  text_.insert(caret_, 1, character);
  ++caret_;
  anchor_ = caret_;
}

void EntryField::Press(Key key, bool extend) {
  switch (key) {
    case Key::kBackspace:
    case Key::kDelete:
      if (HasSelection()) {
        DeleteSelection();
      } else if (key == Key::kBackspace && caret_ > 0) {
        text_.erase(--caret_, 1);
        anchor_ = caret_;
      } else if (key == Key::kDelete && caret_ < text_.size()) {
        text_.erase(caret_, 1);
      }
      return;
    case Key::kHome:
      MoveCaret(0, extend);
      return;
    case Key::kEnd:
      MoveCaret(text_.size(), extend);
      return;
    case Key::kLeft:
      if (HasSelection() && !extend) {
        MoveCaret(SelectionStart(), false);
      } else {
        MoveCaret(caret_ > 0 ? caret_ - 1 : 0, extend);
      }
      return;
    case Key::kRight:
      if (HasSelection() && !extend) {
        MoveCaret(SelectionEnd(), false);
      } else {
        MoveCaret(caret_ < text_.size() ? caret_ + 1 : caret_, extend);
      }
      return;
  }
}

std::string EntryField::Shown(bool masked) const {
  return masked ? std::string(text_.size(), '*') : text_;
}

void EntryField::DeleteSelection() {
  const size_t start = SelectionStart();
  text_.erase(start, SelectionEnd() - start);
  caret_ = start;
  anchor_ = start;
}

void EntryField::MoveCaret(size_t position, bool extend) {
  caret_ = position;
  if (!extend) {
    anchor_ = position;
  }
}

}  // namespace velmora
