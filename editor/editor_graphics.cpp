#include "editor/editor_graphics.h"

#include <cmath>

#include "editor/bitmap_control.h"
#include "editor/icontrol.h"
#include "frame/effect_base.h"
#include "graphics/device_scale.h"

namespace velmora {

IEditorGraphics::IEditorGraphics(IEffectBase* owner, int width, int height, int frameRate)
    : owner_(owner),
      width_(width),
      height_(height),
      frameRate_(frameRate > 0 ? frameRate : kDefaultFrameRate) {}

IEditorGraphics::~IEditorGraphics() {
  // Controls go from the last to the first, the reverse of how they were built.
  while (!controls_.empty()) {
    controls_.pop_back();
  }
}

int IEditorGraphics::AddControl(std::unique_ptr<IControl> control) {
  control->AttachTo(this);
  controls_.push_back(std::move(control));
  return ControlCount() - 1;
}

int IEditorGraphics::AttachBackground(int32_t resourceId, const char* name) {
  const BitmapRef bitmap = LoadBitmapRef(resourceId, name, 1);
  const Rect rect{0, 0, bitmap.width, bitmap.height};
  auto background =
      std::make_unique<IBitmapControl>(owner_, rect, -1, bitmap, true, Blend{Blend::kCopy, 1.0f});
  background->AttachTo(this);
  controls_.insert(controls_.begin(), std::move(background));
  return 0;
}

IControl* IEditorGraphics::Control(int index) const {
  if (index < 0 || index >= ControlCount()) {
    return nullptr;
  }
  return controls_[static_cast<size_t>(index)].get();
}

int IEditorGraphics::FindControlAt(int x, int y) const {
  if (captured_ >= 0) {
    return captured_;
  }
  for (int i = ControlCount() - 1; i >= 0; --i) {
    const IControl& control = *controls_[static_cast<size_t>(i)];
    if (!control.IsHidden() && !control.IsGrayed() && control.HitTest(x, y)) {
      return i;
    }
  }
  return -1;
}

bool IEditorGraphics::HasOwnerParam(const IControl& control) const {
  return owner_ != nullptr && control.ParamIndex() >= 0;
}

void IEditorGraphics::ForgetCapture() {
  captured_ = -1;
  dragsFollow_ = false;
  lastMouseX_ = -1;
  lastMouseY_ = -1;
}

void IEditorGraphics::MouseDown(int x, int y, const MouseModifiers& modifiers) {
  ForgetCapture();
  const int index = FindControlAt(x, y);
  if (index < 0) {
    return;
  }
  captured_ = index;
  dragsFollow_ = true;
  lastMouseX_ = x;
  lastMouseY_ = y;
  IControl& control = *Control(index);
  if (HasOwnerParam(control)) {
    owner_->BeginParamEdit(control.ParamIndex());
  }
  control.HandleMouseDown(x, y, modifiers);
}

// Only the control whose press (or double-click) began a gesture hears the release: a
// release whose press went elsewhere (to a pop-up, or outside every control) would otherwise
// end a gesture the host was never told began.
void IEditorGraphics::MouseUp(int x, int y, const MouseModifiers& modifiers) {
  const int index = captured_;
  ForgetCapture();
  if (index < 0) {
    return;
  }
  IControl& control = *Control(index);
  control.HandleMouseUp(x, y, modifiers);
  if (HasOwnerParam(control)) {
    owner_->EndParamEdit(control.ParamIndex());
  }
}

void IEditorGraphics::MouseDrag(int x, int y, const MouseModifiers& modifiers) {
  if (captured_ < 0 || !dragsFollow_ || (x == lastMouseX_ && y == lastMouseY_)) {
    return;
  }
  const int dx = x - lastMouseX_;
  const int dy = y - lastMouseY_;
  lastMouseX_ = x;
  lastMouseY_ = y;
  Control(captured_)->HandleMouseDrag(x, y, dx, dy, modifiers);
}

// The control is captured either way, so the release that ends the gesture reaches it
// wherever the pointer is by then; only a double-click taken as a press is also dragged.
bool IEditorGraphics::MouseDoubleClick(int x, int y, const MouseModifiers& modifiers) {
  ForgetCapture();
  const int index = FindControlAt(x, y);
  if (index < 0) {
    return false;
  }
  captured_ = index;
  lastMouseX_ = x;
  lastMouseY_ = y;
  IControl& control = *Control(index);
  if (HasOwnerParam(control)) {
    owner_->BeginParamEdit(control.ParamIndex());
  }
  if (!control.DoubleClickAsPress()) {
    control.HandleDoubleClick(x, y, modifiers);
    return true;
  }
  dragsFollow_ = true;
  control.HandleMouseDown(x, y, modifiers);
  return true;
}

// A run of notches on one control reaches the host as one gesture: the plug-in begins it
// unless an end for the same parameter is still pending, and ends it half a second after
// the last notch. Notches while a button holds a control belong to that press's gesture,
// which is already open and ends with the release.
void IEditorGraphics::MouseWheel(int x, int y, const MouseModifiers& modifiers, int notches) {
  const int index = FindControlAt(x, y);
  if (index < 0) {
    return;
  }
  IControl& control = *Control(index);
  if (index == captured_) {
    control.HandleWheel(x, y, modifiers, notches);
    return;
  }
  const int param = control.ParamIndex();
  if (HasOwnerParam(control)) {
    owner_->ContinueParamEdit(param);
  }
  control.HandleWheel(x, y, modifiers, notches);
  if (HasOwnerParam(control)) {
    owner_->ScheduleEndParamEdit(param);
  }
}

void IEditorGraphics::KeyDown(int x, int y, int keyCode) {
  const int index = FindControlAt(x, y);
  if (index >= 0) {
    Control(index)->HandleKeyDown(x, y, keyCode);
  }
}

void IEditorGraphics::ShowParamValue(int index, double value, bool isNormalised) {
  if (!isNormalised) {
    const IEffectParam* param = owner_ != nullptr ? owner_->Param(index) : nullptr;
    if (param == nullptr) {
      return;
    }
    value = param->ToNormalised(value);
  }
  for (const auto& control : controls_) {
    if (control->ParamIndex() == index) {
      control->ApplyHostValue(value);
    }
  }
}

bool IEditorGraphics::CollectDirtyArea(Rect* area) const {
  bool found = false;
  Rect dirty{};
  for (const auto& control : controls_) {
    if (control->NeedsRepaint()) {
      dirty = UniteRects(dirty, control->DrawRect());
      found = true;
    }
  }
  *area = dirty;
  return found;
}

void IEditorGraphics::PaintDirtyArea(const Rect& area) {
  if (controls_.empty()) {
    return;
  }
  SetDrawArea(area);
  for (const auto& control : controls_) {
    if (!control->IsHidden() && RectsOverlap(control->DrawRect(), area)) {
      control->Paint(*this);
    }
    control->MarkClean();
  }
  BlitToWindow(area);
}

void IEditorGraphics::MarkAllDirty() {
  for (const auto& control : controls_) {
    control->MarkDirty(false);
  }
}

void IEditorGraphics::PrepareEditor() {
  std::unique_ptr<PixelMemory> memory = MakeSurfaceMemory();
  SetDrawScale(Scale());
  CreateSurface(DeviceWidth(), DeviceHeight(), memory ? std::move(memory) : MakeHeapPixelMemory());
  scratch_ = std::make_unique<PixelImage>();
}

namespace {

// The user's zoom choice, shared by every editor in the process; 0 = none made.
std::atomic<double>& ProcessZoom() {
  static std::atomic<double> zoom{0.0};
  return zoom;
}

}  // namespace

void IEditorGraphics::SetUserZoom(double scale) {
  ProcessZoom().store(device_scale::Usable(scale), std::memory_order_relaxed);
}

double IEditorGraphics::UserZoom() {
  return ProcessZoom().load(std::memory_order_relaxed);
}

bool IEditorGraphics::SetHostScale(double scale) {
  hostScale_.store(device_scale::Usable(scale), std::memory_order_relaxed);
  return UpdateScale();
}

void IEditorGraphics::SetScreenScale(double scale) {
  screenScale_.store(device_scale::Usable(scale), std::memory_order_relaxed);
  UpdateScale();
}

bool IEditorGraphics::UpdateScale() {
  double scale = UserZoom();
  if (scale == 0.0) {
    scale = hostScale_.load(std::memory_order_relaxed);
  }
  if (scale == 0.0) {
    scale = screenScale_.load(std::memory_order_relaxed);
  }
  if (scale == 0.0) {
    scale = 1.0;
  }
  if (scale == Scale()) {
    return false;
  }
  const int oldWidth = DeviceWidth();
  const int oldHeight = DeviceHeight();
  scale_.store(scale, std::memory_order_relaxed);
  ScaleChanged();
  return DeviceWidth() != oldWidth || DeviceHeight() != oldHeight;
}

bool IEditorGraphics::ApplyScale() {
  const double scale = Scale();
  if (Surface() == nullptr || scale == DrawScale()) {
    return false;
  }
  std::unique_ptr<PixelMemory> memory = MakeSurfaceMemory();
  SetDrawScale(scale);
  CreateSurface(DeviceWidth(), DeviceHeight(), memory ? std::move(memory) : MakeHeapPixelMemory());
  MarkAllDirty();
  return true;
}

int IEditorGraphics::DeviceWidth() const {
  return device_scale::ToDevice(width_, Scale());
}

int IEditorGraphics::DeviceHeight() const {
  return device_scale::ToDevice(height_, Scale());
}

// Both follow the scale the surface (and so the window) is at, which a window layer may
// take up a moment after the scale itself changed.
Rect IEditorGraphics::EditorAreaCovering(const Rect& device) const {
  const double scale = DrawScale();
  if (scale == 1.0) {
    return device;
  }
  return Rect{static_cast<int>(std::floor(device.left / scale)),
              static_cast<int>(std::floor(device.top / scale)),
              static_cast<int>(std::ceil(device.right / scale)),
              static_cast<int>(std::ceil(device.bottom / scale))};
}

int IEditorGraphics::ToEditorPixel(int devicePixel) const {
  const double scale = DrawScale();
  return scale == 1.0 ? devicePixel : device_scale::ToEditor(devicePixel, scale);
}

intptr_t IEditorGraphics::EditorWheel(float) {
  return 0;
}

}  // namespace velmora
