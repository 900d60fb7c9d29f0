#include "editor/x11/x11_screen_image.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "editor/x11/x11_error_trap.h"
#include "graphics/pixel_image.h"
#include "graphics/rect.h"

namespace velmora {
namespace {

constexpr int kDepth = 24;
constexpr int kBitsPerPixel = 32;
constexpr unsigned long kRedMask = 0xFF0000;
constexpr unsigned long kGreenMask = 0x00FF00;
constexpr unsigned long kBlueMask = 0x0000FF;

bool HostIsLittleEndian() {
  const uint32_t probe = 1;
  uint8_t first = 0;
  std::memcpy(&first, &probe, 1);
  return first == 1;
}

}  // namespace

bool VisualTakesSurfacePixels(Display* display, const XVisualInfo& info) {
  if (info.c_class != TrueColor || info.depth != kDepth || info.red_mask != kRedMask ||
      info.green_mask != kGreenMask || info.blue_mask != kBlueMask) {
    return false;
  }
  int count = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
  bool fits = false;
  for (int i = 0; i < count; ++i) {
    if (formats[i].depth == kDepth) {
      fits = formats[i].bits_per_pixel == kBitsPerPixel;
    }
  }
  if (formats != nullptr) {
    XFree(formats);
  }
  return fits;
}

X11ScreenImage::~X11ScreenImage() {
  Destroy();
}

bool X11ScreenImage::Create(Display* display, Visual* visual, int width, int height,
                            bool allowSharedMemory) {
  Destroy();
  display_ = display;
  // The server reads a shared segment in its own byte order; only a server of the host's
  // order can take the surface's words as they are.
  const bool sameOrder = (ImageByteOrder(display) == LSBFirst) == HostIsLittleEndian();
  if (allowSharedMemory && sameOrder && XShmQueryExtension(display) &&
      CreateShared(visual, width, height)) {
    return true;
  }
  transfer_ = Transfer::kRequest;
  return CreateRequest(visual, width, height);
}

bool X11ScreenImage::CreateShared(Visual* visual, int width, int height) {
  transfer_ = Transfer::kSharedMemory;
  image_ = XShmCreateImage(display_, visual, kDepth, ZPixmap, nullptr, &segment_,
                           static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (image_ == nullptr) {
    return false;
  }
  const size_t bytes = static_cast<size_t>(image_->bytes_per_line) * image_->height;
  segment_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  void* memory =
      segment_.shmid >= 0 ? shmat(segment_.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
  if (memory != reinterpret_cast<void*>(-1)) {
    segment_.shmaddr = static_cast<char*>(memory);
    image_->data = segment_.shmaddr;
    segment_.readOnly = True;
    X11ErrorTrap::SyncAndTakeErrors(display_);
    attached_ = XShmAttach(display_, &segment_) != 0 && !X11ErrorTrap::SyncAndTakeErrors(display_);
  }
  // Marked for removal at once: the segment goes when the last user detaches, even if this
  // process ends without closing the editor.
  if (segment_.shmid >= 0) {
    shmctl(segment_.shmid, IPC_RMID, nullptr);
  }
  if (!attached_) {
    Destroy();
    transfer_ = Transfer::kRequest;
    return false;
  }
  return true;
}

bool X11ScreenImage::CreateRequest(Visual* visual, int width, int height) {
  const int bytesPerLine = width * 4;
  auto* pixels = static_cast<char*>(std::calloc(static_cast<size_t>(bytesPerLine) * height, 1));
  if (pixels == nullptr) {
    return false;
  }
  image_ = XCreateImage(display_, visual, kDepth, ZPixmap, 0, pixels, static_cast<unsigned>(width),
                        static_cast<unsigned>(height), kBitsPerPixel, bytesPerLine);
  if (image_ == nullptr) {
    std::free(pixels);
    return false;
  }
  // The pixels are the host's 32-bit words; Xlib swaps them if the server wants otherwise.
  image_->byte_order = HostIsLittleEndian() ? LSBFirst : MSBFirst;
  return true;
}

void X11ScreenImage::Destroy() {
  if (attached_) {
    XShmDetach(display_, &segment_);
    XSync(display_, False);
    attached_ = false;
  }
  if (segment_.shmaddr != nullptr) {
    shmdt(segment_.shmaddr);
  }
  segment_ = XShmSegmentInfo{};
  if (image_ != nullptr) {
    if (transfer_ == Transfer::kSharedMemory) {
      image_->data = nullptr;  // was the segment
    }
    XDestroyImage(image_);  // frees the request transfer's own pixels
    image_ = nullptr;
  }
}

void X11ScreenImage::Put(Drawable drawable, GC gc, const PixelImage& source, const Rect& area) {
  if (image_ == nullptr) {
    return;
  }
  const int left = std::max(0, area.left);
  const int top = std::max(0, area.top);
  const int right = std::min({area.right, image_->width, source.Width()});
  const int bottom = std::min({area.bottom, image_->height, source.Height()});
  if (left >= right || top >= bottom) {
    return;
  }
  const size_t rowBytes = static_cast<size_t>(right - left) * 4;
  for (int y = top; y < bottom; ++y) {
    char* row = image_->data + static_cast<size_t>(y) * image_->bytes_per_line + left * 4;
    std::memcpy(row, source.Row(y) + left, rowBytes);
  }
  const auto width = static_cast<unsigned>(right - left);
  const auto height = static_cast<unsigned>(bottom - top);
  if (transfer_ == Transfer::kSharedMemory) {
    XShmPutImage(display_, drawable, gc, image_, left, top, left, top, width, height, False);
    XSync(display_, False);
  } else {
    XPutImage(display_, drawable, gc, image_, left, top, left, top, width, height);
    XFlush(display_);
  }
}

}  // namespace velmora
