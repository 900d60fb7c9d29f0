// The checks velmora-editorcheck runs, grouped by what they prove.
#pragma once

#include <string>

#include "tools/editorcheck/check_log.h"
#include "tools/editorcheck/editor_harness.h"

namespace velmora::editorcheck {

// The window itself: class, title, styles, size, parent.
void CheckWindow(EditorHarness& harness, CheckLog& log);
// Two instances at once: focus for host kind 25 only, the class shared while any is open.
void CheckFocusAndSharedClass(EditorHarness& first, const std::string& dllPath, CheckLog& log);
// Drag, double-click, wheel, radio click and the entry pop-ups, by the host calls they make.
void CheckGestures(EditorHarness& harness, CheckLog& log);
void CheckEntryPopups(EditorHarness& harness, CheckLog& log);
// Gestures that pop-ups interrupt, and a random run of mouse messages: each gesture begins
// once and ends once.
void CheckBalancedGestures(EditorHarness& harness, CheckLog& log);
// The keyboard focus goes back to the host's window after every way a pop-up closes.
void CheckFocusReturn(EditorHarness& harness, CheckLog& log);
// The window's pixels against the headless editor's; writes the capture to pngPath when
// it is not empty; measures a full repaint.
void CheckPicture(EditorHarness& harness, CheckLog& log, const std::string& pngPath);
// On its own, in a process that runs nothing else: the editor at the screen's DPI against
// the headless editor at the same scale (the process declares itself DPI aware).
void CheckScaledPicture(host::PluginHost& plugin, CheckLog& log, const std::string& pngPath);
// The text box of editable text controls, on an editor window made in-process.
void CheckTextEntry(CheckLog& log);
// A hundred open/close cycles leave GDI and USER object counts where they were.
void CheckOpenCloseCycles(EditorHarness& harness, CheckLog& log);
// The editor opened and closed while another thread processes audio.
void CheckOpenDuringAudio(EditorHarness& harness, CheckLog& log);
// The Wine registry test, the text path it selects, the GDI renderer's own rules, and the
// web-address filter.
void CheckTextAndPlatform(CheckLog& log);

}  // namespace velmora::editorcheck
