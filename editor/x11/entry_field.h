// The editing state of a one-line text field drawn by the editor itself: the text, the
// caret and the selection, changed by typed characters and the editing keys. It knows
// nothing of windows or drawing. Positions are byte offsets; typed characters are
// printable ASCII, so every byte is one character.
#pragma once

#include <cstddef>
#include <string>

namespace velmora {

class EntryField {
 public:
  // The longest text kept: what a committed entry is read into holds 1000 characters
  // with its terminator.
  static constexpr size_t kMaxLength = 999;

  enum class Key { kBackspace, kDelete, kHome, kEnd, kLeft, kRight };

  // Starts with the text, all of it selected (typing replaces it).
  explicit EntryField(const std::string& text);

  const std::string& Text() const { return text_; }
  size_t Caret() const { return caret_; }
  // The selection as [start, end); empty when start == end.
  size_t SelectionStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
  size_t SelectionEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
  bool HasSelection() const { return caret_ != anchor_; }

  // Replaces the selection by the character; characters outside printable ASCII are
  // ignored, and so is anything beyond kMaxLength.
  void Type(char character);
  // Editing keys; with extend the selection grows from its anchor instead of collapsing.
  void Press(Key key, bool extend);
  void SelectAll();
  // Removes the selection, leaving the caret at the end (what Enter does before commit).
  void ClearSelection();

  // What is shown: the text itself, or one '*' per character for a masked field.
  std::string Shown(bool masked) const;

 private:
  void DeleteSelection();
  void MoveCaret(size_t position, bool extend);

  std::string text_;
  size_t caret_ = 0;
  size_t anchor_ = 0;
};

}  // namespace velmora
