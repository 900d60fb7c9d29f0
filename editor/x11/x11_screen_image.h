// Copies parts of the editor's surface into its X window. With the MIT shared-memory
// extension the pixels are copied into a segment the server reads directly; without it (a
// remote display, or a server that refuses) they travel in the request itself. Either way
// only the asked-for rectangle is sent.
//
// The surface's pixels (alpha, red, green, blue in a 32-bit word) are what a 24-bit
// TrueColor visual with 32 bits per pixel expects; the alpha byte is ignored by the server.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstdint>

namespace velmora {

class PixelImage;
struct Rect;

class X11ScreenImage {
 public:
  enum class Transfer { kSharedMemory, kRequest };

  X11ScreenImage() = default;
  ~X11ScreenImage();
  X11ScreenImage(const X11ScreenImage&) = delete;
  X11ScreenImage& operator=(const X11ScreenImage&) = delete;

  // Prepares the transfer for images up to width x height; shared memory is tried first
  // unless allowSharedMemory is false. False when neither works.
  bool Create(Display* display, Visual* visual, int width, int height, bool allowSharedMemory);
  // Releases the segment and the image; the display stays open. Safe to call twice.
  void Destroy();

  // Copies area of source to the same place in drawable; the server has read the pixels
  // when this returns, so the source may change at once.
  void Put(Drawable drawable, GC gc, const PixelImage& source, const Rect& area);
  Transfer Kind() const { return transfer_; }

 private:
  bool CreateShared(Visual* visual, int width, int height);
  bool CreateRequest(Visual* visual, int width, int height);

  Display* display_ = nullptr;
  XImage* image_ = nullptr;
  XShmSegmentInfo segment_{};
  bool attached_ = false;
  Transfer transfer_ = Transfer::kRequest;
};

// Whether a visual takes the surface's pixels as they are (24-bit TrueColor, 32 bits per
// pixel, red, green and blue in the surface's byte positions).
bool VisualTakesSurfacePixels(Display* display, const XVisualInfo& info);

}  // namespace velmora
