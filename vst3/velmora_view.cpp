#include "vst3/velmora_view.h"

#include <cmath>
#include <cstring>
#include <new>

#include "binding/hosted_effect.h"
#include "plugin/editor_layout.h"
#include "vst3/velmora_vst3.h"

namespace velmora::vst3 {
namespace {

#if defined(_WIN32)
constexpr const char* kOwnPlatformType = kPlatformTypeHwnd;
#else
constexpr const char* kOwnPlatformType = kPlatformTypeX11EmbedWindowId;
#endif

bool IsOwnPlatform(const char* type) {
  return type != nullptr && std::strcmp(type, kOwnPlatformType) == 0;
}

uint64_t PackSize(int width, int height) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(width)) << 32) |
         static_cast<uint32_t>(height);
}

}  // namespace

VelmoraView* VelmoraView::Create(VelmoraVst3* owner) {
  return owner != nullptr ? new (std::nothrow) VelmoraView(owner) : nullptr;
}

VelmoraView::VelmoraView(VelmoraVst3* owner) : owner_(owner) {
  owner_->addRef();
}

VelmoraView::~VelmoraView() {
  removed();
  setFrame(nullptr);
  owner_->release();
}

tresult VelmoraView::queryInterface(const char* iid, void** object) {
  if (object == nullptr) {
    return kInvalidArgument;
  }
  *object = nullptr;
  if (SameIid(iid, FUnknown::kIid) || SameIid(iid, IPlugView::kIid)) {
    *object = static_cast<IPlugView*>(this);
  } else if (SameIid(iid, IPlugViewContentScaleSupport::kIid)) {
    *object = static_cast<IPlugViewContentScaleSupport*>(this);
  } else if (SameIid(iid, ITimerHandler::kIid)) {
    *object = static_cast<ITimerHandler*>(this);
  } else {
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32_t VelmoraView::addRef() {
  return references_.fetch_add(1) + 1;
}

uint32_t VelmoraView::release() {
  const uint32_t left = references_.fetch_sub(1) - 1;
  if (left == 0) {
    delete this;
  }
  return left;
}

tresult VelmoraView::isPlatformTypeSupported(const char* type) {
  return IsOwnPlatform(type) ? kResultTrue : kResultFalse;
}

tresult VelmoraView::attached(void* parent, const char* type) {
  if (parent == nullptr || !IsOwnPlatform(type)) {
    return kInvalidArgument;
  }
  binding::HostedEffect* effect = owner_->Effect();
  if (effect == nullptr || attached_) {
    return kResultFalse;
  }
  // The editor may ask for another size while it opens (its screen is not at 100 %).
  effect->SetEditorResizer(this);
  // An X11 window id arrives as the pointer's value, an HWND as the pointer itself.
  if (!effect->OpenEditor(reinterpret_cast<intptr_t>(parent))) {
    effect->SetEditorResizer(nullptr);
    return kResultFalse;
  }
  attached_ = true;
  StartHostTimer();
  return kResultOk;
}

tresult VelmoraView::removed() {
  if (!attached_) {
    return kResultFalse;
  }
  attached_ = false;
  if (binding::HostedEffect* effect = owner_->Effect()) {
    effect->CloseEditor();
    effect->SetEditorResizer(nullptr);
  }
  pendingSize_.store(0);
  // Closing may end a pending wheel gesture: its end goes out with the rest.
  StopHostTimer();
  return kResultOk;
}

void VelmoraView::StartHostTimer() {
  void* found = nullptr;
  if (frame_ == nullptr || frame_->queryInterface(IRunLoop::kIid.bytes, &found) != kResultOk ||
      found == nullptr) {
    return;
  }
  runLoop_ = static_cast<IRunLoop*>(found);
  if (runLoop_->registerTimer(this, kTimerMilliseconds) == kResultOk) {
    owner_->Gestures().SetQueued(true);
    deferResize_.store(true);
  } else {
    runLoop_->release();
    runLoop_ = nullptr;
  }
}

void VelmoraView::StopHostTimer() {
  if (runLoop_ != nullptr) {
    runLoop_->unregisterTimer(this);
    runLoop_->release();
    runLoop_ = nullptr;
  }
  owner_->Gestures().SetQueued(false);
  deferResize_.store(false);
}

void VelmoraView::onTimer() {
  owner_->Gestures().Drain();
  const uint64_t size = pendingSize_.exchange(0);
  if (size != 0 && attached_) {
    AskFrameToResize(static_cast<int>(size >> 32), static_cast<int>(size & 0xFFFFFFFFu));
  }
}

bool VelmoraView::ResizeEditor(int width, int height) {
  if (width <= 0 || height <= 0) {
    return false;
  }
  if (hostSize_.load() == PackSize(width, height)) {
    return true;
  }
  if (deferResize_.load()) {
    pendingSize_.store(PackSize(width, height));
    return true;
  }
  return AskFrameToResize(width, height);
}

bool VelmoraView::AskFrameToResize(int width, int height) {
  if (frame_ == nullptr) {
    return false;
  }
  ViewRect rect{0, 0, width, height};
  if (frame_->resizeView(this, &rect) != kResultOk) {
    return false;
  }
  hostSize_.store(PackSize(width, height));
  return true;
}

ViewRect VelmoraView::DeviceRect() {
  binding::HostedEffect* effect = owner_->Effect();
  int width = kEditorWidth;
  int height = kEditorHeight;
  if (effect != nullptr) {
    effect->EditorDeviceSize(width, height);
  }
  return {0, 0, width, height};
}

tresult VelmoraView::setContentScaleFactor(float factor) {
  if (!std::isfinite(factor) || factor <= 0.0f) {
    return kInvalidArgument;
  }
  binding::HostedEffect* effect = owner_->Effect();
  bool resize = false;
  if (effect == nullptr || !effect->SetEditorHostScale(factor, resize)) {
    return kResultFalse;
  }
  if (resize && attached_) {
    const ViewRect rect = DeviceRect();
    AskFrameToResize(rect.right, rect.bottom);
  }
  return kResultTrue;
}

// Keys and wheel turns reach the editor through its own window.
tresult VelmoraView::onWheel(float) {
  return kResultFalse;
}

tresult VelmoraView::onKeyDown(char16, int16_t, int16_t) {
  return kResultFalse;
}

tresult VelmoraView::onKeyUp(char16, int16_t, int16_t) {
  return kResultFalse;
}

tresult VelmoraView::getSize(ViewRect* size) {
  if (size == nullptr) {
    return kInvalidArgument;
  }
  *size = DeviceRect();
  hostSize_.store(PackSize(size->right, size->bottom));
  return kResultOk;
}

// The editor keeps the size of its scale whatever room the host gives it.
tresult VelmoraView::onSize(ViewRect* size) {
  return size != nullptr ? kResultOk : kInvalidArgument;
}

tresult VelmoraView::onFocus(TBool) {
  return kResultOk;
}

tresult VelmoraView::setFrame(IPlugFrame* frame) {
  if (frame != nullptr) {
    frame->addRef();
  }
  if (frame_ != nullptr) {
    frame_->release();
  }
  frame_ = frame;
  return kResultOk;
}

tresult VelmoraView::canResize() {
  return kResultFalse;
}

tresult VelmoraView::checkSizeConstraint(ViewRect* rect) {
  if (rect == nullptr) {
    return kInvalidArgument;
  }
  *rect = DeviceRect();
  return kResultOk;
}

}  // namespace velmora::vst3
