#include "vst3/velmora_view.h"

#include <cstring>
#include <new>

#include "binding/hosted_effect.h"
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

void FillSize(ViewRect* rect) {
  rect->left = 0;
  rect->top = 0;
  rect->right = binding::HostedEffect::kEditorWidth;
  rect->bottom = binding::HostedEffect::kEditorHeight;
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
  // An X11 window id arrives as the pointer's value, an HWND as the pointer itself.
  if (!effect->OpenEditor(reinterpret_cast<intptr_t>(parent))) {
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
  }
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
}

void VelmoraView::onTimer() {
  owner_->Gestures().Drain();
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
  FillSize(size);
  return kResultOk;
}

// The editor keeps its one size whatever room the host gives it.
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
  FillSize(rect);
  return kResultOk;
}

}  // namespace velmora::vst3
