// The entry pop-ups on the real window: an EDIT value box committed with Enter, one
// cancelled with a right click, and a COMBOBOX list committed by choosing an entry.
#include <cstring>

#include "tools/editorcheck/checks.h"

namespace velmora::editorcheck {
namespace {

constexpr int kPingPong = 1;
constexpr int kFreqLeft = 4;
constexpr int kFreqLeftX = 64;
constexpr int kFreqLeftY = 300;
constexpr int kPopupId = 99;
constexpr LONG kValueBoxStyle = 0x50000005;   // WS_CHILD | WS_VISIBLE | ES_CENTER | ES_MULTILINE
constexpr LONG kValueListStyle = 0x50000003;  // WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST
// A point no control but the background covers.
constexpr int kEmptyX = 250;
constexpr int kEmptyY = 470;

void RightClick(EditorHarness& harness, int x, int y) {
  harness.PostMouse(WM_RBUTTONDOWN, x, y, MK_RBUTTON);
  harness.PostMouse(WM_RBUTTONUP, x, y, 0);
  harness.Drain();
}

void Type(EditorHarness& harness, HWND popup, const char* text) {
  for (const char* c = text; *c != '\0'; ++c) {
    harness.PostTo(popup, WM_CHAR, static_cast<WPARAM>(*c), 1);
  }
}

// Closing the pop-up tells its control, which hands its value to the host once more
// (outside any gesture); nothing else may follow.
bool OnlyRepeats(const std::vector<host::HostCall>& calls, size_t from, int param, float value) {
  for (size_t i = from; i < calls.size(); ++i) {
    if (calls[i].opcode != 0 || calls[i].index != param || calls[i].opt != value) {
      return false;
    }
  }
  return true;
}

// Runs the editor until its pop-up is gone; true when it went within a few ticks.
bool WaitForPopupToClose(EditorHarness& harness, HWND popup) {
  harness.Pump(6, [popup] { return !IsWindow(popup); });
  return !IsWindow(popup);
}

void CheckPopupFont(HWND popup, CheckLog& log, const char* kind) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(popup, WM_GETFONT, 0, 0));
  LOGFONTA face{};
  const bool found = font != nullptr && GetObjectA(font, sizeof(face), &face) != 0;
  log.Expect(found && face.lfHeight == 14 && std::strcmp(face.lfFaceName, "Arial") == 0,
             std::string(kind) + " uses the 14-pixel \"Arial\" font");
}

HWND OpenValueBox(EditorHarness& harness, CheckLog& log) {
  RightClick(harness, kFreqLeftX, kFreqLeftY);
  HWND box = harness.FindPopup("Edit");
  if (!log.Expect(box != nullptr, "a right click on Freq Left opens an EDIT value box")) {
    return nullptr;
  }
  return box;
}

void CheckValueBoxCommit(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  HWND box = OpenValueBox(harness, log);
  if (box == nullptr) {
    return;
  }
  const LONG style = GetWindowLongA(box, GWL_STYLE);
  RECT rect{};
  GetWindowRect(box, &rect);
  MapWindowPoints(nullptr, harness.Editor(), reinterpret_cast<POINT*>(&rect), 2);
  // The widest value, "20000", is 5 characters: 7 x 5 + 6 = 41 pixels, 16 high, centred on
  // the knob's rectangle (39..89 x 275..346: centre 64, 310).
  log.Expect((style & kValueBoxStyle) == kValueBoxStyle && GetDlgCtrlID(box) == kPopupId &&
                 rect.right - rect.left == 41 && rect.bottom - rect.top == 16 &&
                 rect.left == 64 - 20 && rect.top == 310 - 8,
             "the value box: style 0x50000005, id 99, 41 x 16 at (44, 302); is (" +
                 std::to_string(rect.left) + ", " + std::to_string(rect.top) + ") " +
                 std::to_string(rect.right - rect.left) + " x " +
                 std::to_string(rect.bottom - rect.top));
  CheckPopupFont(box, log, "the value box");
  DWORD selStart = 0, selEnd = 0;
  SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
               reinterpret_cast<LPARAM>(&selEnd));
  const int length = GetWindowTextLengthA(box);
  log.Expect(length > 0 && selStart == 0 && selEnd == static_cast<DWORD>(length),
             "the value box holds the current value, all selected");
  const size_t mark = CallCount(plugin);
  Type(harness, box, "2000");
  harness.PostTo(box, WM_KEYDOWN, VK_RETURN, 1);
  harness.PostTo(box, WM_CHAR, '\r', 1);
  log.Expect(WaitForPopupToClose(harness, box), "Enter commits and the next tick closes the box");
  const auto calls = EditCalls(plugin, mark);
  log.Expect(calls.size() >= 3 && calls[0].opcode == 43 && calls[1].opcode == 0 &&
                 calls[2].opcode == 44 && calls[1].index == kFreqLeft &&
                 OnlyRepeats(calls, 3, kFreqLeft, calls[1].opt),
             "the typed value arrives in one gesture on Freq Left: " + Describe(calls));
  log.Expect(plugin.ParamDisplay(kFreqLeft) == "2000",
             "Freq Left shows 2000 (Hz); shows " + plugin.ParamDisplay(kFreqLeft));
}

void CheckValueBoxCancel(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  HWND box = OpenValueBox(harness, log);
  if (box == nullptr) {
    return;
  }
  const size_t mark = CallCount(plugin);
  const float value = plugin.GetParameter(kFreqLeft);
  Type(harness, box, "5000");
  RightClick(harness, kEmptyX, kEmptyY);
  log.Expect(WaitForPopupToClose(harness, box), "a right click in the editor closes the box");
  log.Expect(OnlyRepeats(EditCalls(plugin, mark), 0, kFreqLeft, value) &&
                 plugin.ParamDisplay(kFreqLeft) == "2000",
             "the cancelled text is not applied: " + Describe(EditCalls(plugin, mark)));
}

void CheckValueList(EditorHarness& harness, CheckLog& log) {
  host::PluginHost& plugin = harness.Plugin();
  // Ping Pong's radio buttons (133..215 x 102..187) stand for an enumerated parameter.
  RightClick(harness, 170, 150);
  HWND list = harness.FindPopup("ComboBox");
  if (!log.Expect(list != nullptr, "a right click on Ping Pong opens a COMBOBOX value list")) {
    return;
  }
  const LONG style = GetWindowLongA(list, GWL_STYLE);
  RECT rect{};
  GetWindowRect(list, &rect);
  // The longest entry, "Triplet 2", is 9 characters: 8 x 9 + 24 = 96 pixels.
  log.Expect((style & kValueListStyle) == kValueListStyle && GetDlgCtrlID(list) == kPopupId &&
                 rect.right - rect.left == 96,
             "the value list: style 0x50000003, id 99, 96 pixels wide");
  CheckPopupFont(list, log, "the value list");
  const LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
  log.Expect(SendMessageA(list, CB_GETCOUNT, 0, 0) == 5 && selected == 3,
             "the list holds Ping Pong's five texts with the current one (Triplet 2) selected");
  const size_t mark = CallCount(plugin);
  // Choosing the next entry from the keyboard, as a user would.
  harness.PostTo(list, WM_KEYDOWN, VK_DOWN, 1);
  log.Expect(WaitForPopupToClose(harness, list), "choosing an entry commits and closes the list");
  const auto calls = EditCalls(plugin, mark);
  log.Expect(calls.size() >= 3 && calls[0].opcode == 43 && calls[1].index == kPingPong &&
                 calls[1].opt == 1.0f && calls[2].opcode == 44 &&
                 OnlyRepeats(calls, 3, kPingPong, 1.0f),
             "the chosen entry (Dotted 2) arrives in one gesture: " + Describe(calls));
}

}  // namespace

void CheckEntryPopups(EditorHarness& harness, CheckLog& log) {
  CheckValueBoxCommit(harness, log);
  CheckValueBoxCancel(harness, log);
  CheckValueList(harness, log);
}

}  // namespace velmora::editorcheck
