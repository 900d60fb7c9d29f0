// A top-level window of the host's own to give a plug-in as its editor's parent: an X11
// window on Linux, an HWND on Windows. On Linux it exists only when a display can be
// opened; without one the editor cannot be tested honestly and the check is skipped.
#pragma once

#include <memory>

#include "tools/host/result.h"

namespace velmora::validate {

class EditorParent {
 public:
  // A mapped window of this size, or the reason there is none.
  static host::Result<std::unique_ptr<EditorParent>> Create(int width, int height);
  ~EditorParent();
  EditorParent(const EditorParent&) = delete;
  EditorParent& operator=(const EditorParent&) = delete;

  // What effEditOpen gets in its ptr.
  void* Handle() const;
  // Handles the window's pending events, as a host's user-interface loop would.
  void Pump();

 private:
  struct Platform;
  explicit EditorParent(std::unique_ptr<Platform> platform);
  std::unique_ptr<Platform> platform_;
};

}  // namespace velmora::validate
