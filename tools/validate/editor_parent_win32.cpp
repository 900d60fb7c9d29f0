#include <windows.h>

#include <string>

#include "tools/validate/editor_parent.h"

namespace velmora::validate {

struct EditorParent::Platform {
  HWND window = nullptr;
};

EditorParent::EditorParent(std::unique_ptr<Platform> platform) : platform_(std::move(platform)) {}

host::Result<std::unique_ptr<EditorParent>> EditorParent::Create(int width, int height) {
  using ParentResult = host::Result<std::unique_ptr<EditorParent>>;
  auto platform = std::make_unique<Platform>();
  // A system class: nothing to register, and its window procedure handles everything.
  platform->window = CreateWindowExA(0, "STATIC", "velmora-validate", WS_OVERLAPPEDWINDOW, 0, 0,
                                     width > 0 ? width : 1, height > 0 ? height : 1, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
  if (platform->window == nullptr) {
    return ParentResult::Failure("cannot create a parent window (error " +
                                 std::to_string(GetLastError()) + ")");
  }
  ShowWindow(platform->window, SW_SHOWNOACTIVATE);
  return ParentResult::Success(
      std::unique_ptr<EditorParent>(new EditorParent(std::move(platform))));
}

EditorParent::~EditorParent() {
  DestroyWindow(platform_->window);
}

void* EditorParent::Handle() const {
  return platform_->window;
}

void EditorParent::Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace velmora::validate
