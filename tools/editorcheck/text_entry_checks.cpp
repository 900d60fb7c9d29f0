// The text box of an editable text control, on a Win32 editor window made in this process
// (the plug-in's own editor has no editable text).
#include <cstring>
#include <memory>

#include "editor/text_controls.h"
#include "editor/win32/win32_editor_window.h"
#include "tools/editorcheck/checks.h"

namespace velmora::editorcheck {
namespace {

// Runs the message loop until done() or about two seconds have passed.
template <typename Done>
bool PumpUntil(Done done) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < 2000) {
    MSG msg{};
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
  return done();
}

TextStyle Style(int alignment, int style) {
  TextStyle text;
  std::strcpy(text.face, "Arial");
  text.size = 18;
  text.colour = Color{255, 255, 255, 255};
  text.alignment = alignment;
  text.style = style;
  return text;
}

// The editable box is three lines tall, so a line break would fit into it.

// Clicks the control at (x, y) and returns the text box it opens, or null.
HWND OpenTextBox(Win32EditorWindow& editor, int x, int y) {
  HWND window = reinterpret_cast<HWND>(editor.WindowHandle());
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  PumpUntil([&] { return editor.EntryPopup() != nullptr; });
  return editor.EntryPopup();
}

void Commit(HWND box, const char* typed) {
  for (const char* c = typed; *c != '\0'; ++c) {
    PostMessageA(box, WM_CHAR, static_cast<WPARAM>(*c), 1);
  }
  // A real Enter key also brings the carriage return TranslateMessage makes of it.
  PostMessageA(box, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(box, WM_CHAR, '\r', 1);
  PumpUntil([box] { return !IsWindow(box); });
}

}  // namespace

void CheckTextEntry(CheckLog& log) {
  HWND host = CreateWindowExA(0, "STATIC", "text entry", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60,
                              320, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  Win32EditorWindow editor(nullptr, 300, 130, 0);
  auto* editable = new IEditableTextControl(nullptr, Rect{10, 10, 150, 70},
                                            Style(TextStyle::kAlignRight, TextStyle::kBold),
                                            "old text", Color{0, 0, 0, 0}, true, false);
  auto* locked = new IEditableTextControl(nullptr, Rect{10, 80, 150, 110},
                                          Style(TextStyle::kAlignCentre, TextStyle::kItalic),
                                          "secret", Color{0, 0, 0, 0}, false, true);
  // Alignment 7 and style 3 are neither of the named values: centred, neither bold nor italic.
  auto* odd = new IEditableTextControl(nullptr, Rect{160, 10, 290, 40}, Style(7, 3), "odd",
                                       Color{0, 0, 0, 0}, true, false);
  editor.AddControl(std::unique_ptr<IControl>(editable));
  editor.AddControl(std::unique_ptr<IControl>(locked));
  editor.AddControl(std::unique_ptr<IControl>(odd));
  editor.PrepareEditor();
  if (!log.Expect(editor.OpenEditorWindow(reinterpret_cast<intptr_t>(host)),
                  "an editor window made in-process opens")) {
    DestroyWindow(host);
    return;
  }
  HWND box = OpenTextBox(editor, 20, 20);
  if (log.Expect(box != nullptr, "a click on an editable text opens a text box")) {
    const LONG style = GetWindowLongA(box, GWL_STYLE);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)), sizeof(font), &font);
    char text[32] = {};
    GetWindowTextA(box, text, sizeof(text));
    log.Expect((style & (ES_RIGHT | ES_MULTILINE)) == (ES_RIGHT | ES_MULTILINE) &&
                   (style & (ES_READONLY | ES_PASSWORD)) == 0 &&
                   std::strcmp(text, "old text") == 0 && font.lfHeight == 18 &&
                   font.lfWeight == 700 && !font.lfItalic &&
                   std::strcmp(font.lfFaceName, "Arial") == 0,
               "right-aligned multi-line box with the text and the style's bold 18-pixel Arial");
    Commit(box, "new text");
    log.Expect(!IsWindow(box) && editable->Text() == "new text",
               "Enter commits the typed text without a line break: \"" + editable->Text() + "\"");
  }
  box = OpenTextBox(editor, 20, 90);
  if (log.Expect(box != nullptr, "a click on a locked, masked text opens a text box")) {
    const LONG style = GetWindowLongA(box, GWL_STYLE);
    log.Expect((style & (ES_READONLY | ES_PASSWORD)) == (ES_READONLY | ES_PASSWORD) &&
                   (style & ES_MULTILINE) == 0 && (style & ES_CENTER) == ES_CENTER,
               "read-only, password, centred, single-line");
    Commit(box, "changed");
    log.Expect(!IsWindow(box) && locked->Text() == "secret",
               "a text that is not editable keeps its text");
  }
  box = OpenTextBox(editor, 200, 20);
  if (log.Expect(box != nullptr, "a click on a text of alignment 7 and style 3 opens a text box")) {
    const LONG style = GetWindowLongA(box, GWL_STYLE);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)), sizeof(font), &font);
    log.Expect(
        (style & (ES_CENTER | ES_RIGHT)) == ES_CENTER && font.lfWeight != 700 && !font.lfItalic,
        "centred, and neither bold nor italic (weight " + std::to_string(font.lfWeight) + ")");
    Commit(box, "");
  }
  editor.CloseEditorWindow();
  DestroyWindow(host);
}

}  // namespace velmora::editorcheck
