// The gui extension: the fixed-size editor embedded in the host's window ("x11" on Linux,
// "win32" on Windows); no floating windows, no resizing.
//
// The editor keeps the timing it has under every host: on X11 a thread of its own reads the
// window's events and runs the refresh tick (a display connection of its own, so nothing of
// it runs on the host's threads), on Windows the window's timer messages arrive on the host's
// GUI thread. Host timers or file-descriptor callbacks are therefore not asked for: they would
// add a second timing path to an editor that is proven with the VST 2 and LV2 hosts, and the
// gestures it makes reach the host through the gesture queue whatever thread they come from.
#include <cstring>

#include "clap/clap_extensions.h"
#include "clap/clap_plugin.h"

namespace velmora::clap {
namespace {

#ifdef _WIN32
constexpr const char* kNativeApi = kWindowApiWin32;
#else
constexpr const char* kNativeApi = kWindowApiX11;
#endif

constexpr uint32_t kWidth = binding::HostedEffect::kEditorWidth;
constexpr uint32_t kHeight = binding::HostedEffect::kEditorHeight;

ClapPlugin* MainThreadSelf(const Plugin* plugin) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self != nullptr && self->OnMainThreadCheck() ? self : nullptr;
}

bool IsApiSupported(const Plugin* plugin, const char* api, bool isFloating) {
  return MainThreadSelf(plugin) != nullptr && api != nullptr && !isFloating &&
         std::strcmp(api, kNativeApi) == 0;
}

bool GetPreferredApi(const Plugin* plugin, const char** api, bool* isFloating) {
  if (MainThreadSelf(plugin) == nullptr || api == nullptr || isFloating == nullptr) {
    return false;
  }
  *api = kNativeApi;
  *isFloating = false;
  return true;
}

bool Create(const Plugin* plugin, const char* api, bool isFloating) {
  return IsApiSupported(plugin, api, isFloating);
}

void Destroy(const Plugin* plugin) {
  if (ClapPlugin* self = MainThreadSelf(plugin)) {
    self->Effect().CloseEditor();
  }
}

bool SetScale(const Plugin*, double) {
  return false;  // fixed pixels: the host scales the window if it must
}

bool GetSize(const Plugin* plugin, uint32_t* width, uint32_t* height) {
  if (MainThreadSelf(plugin) == nullptr || width == nullptr || height == nullptr) {
    return false;
  }
  *width = kWidth;
  *height = kHeight;
  return true;
}

bool CanResize(const Plugin*) {
  return false;
}

// Hosts ask even of a window that cannot be resized; the answer is that it cannot.
bool GetResizeHints(const Plugin* plugin, GuiResizeHints* hints) {
  if (MainThreadSelf(plugin) == nullptr || hints == nullptr) {
    return false;
  }
  *hints = GuiResizeHints{false, false, true, kWidth, kHeight};
  return true;
}

// Whatever size the host proposes, the editor's own is the one it can have.
bool AdjustSize(const Plugin* plugin, uint32_t* width, uint32_t* height) {
  return GetSize(plugin, width, height);
}

bool SetSize(const Plugin* plugin, uint32_t width, uint32_t height) {
  return MainThreadSelf(plugin) != nullptr && width == kWidth && height == kHeight;
}

bool SetParent(const Plugin* plugin, const Window* window) {
  ClapPlugin* self = MainThreadSelf(plugin);
  if (self == nullptr || window == nullptr || window->api == nullptr ||
      std::strcmp(window->api, kNativeApi) != 0) {
    return false;
  }
#ifdef _WIN32
  const auto parent = reinterpret_cast<intptr_t>(window->win32);
#else
  const auto parent = static_cast<intptr_t>(window->x11);
#endif
  self->Effect().CloseEditor();
  return self->Effect().OpenEditor(parent);
}

bool SetTransient(const Plugin*, const Window*) {
  return false;
}

void SuggestTitle(const Plugin*, const char*) {}

// The embedded window is shown with its parent; show and hide only report whether there is
// one.
bool Show(const Plugin* plugin) {
  ClapPlugin* self = MainThreadSelf(plugin);
  return self != nullptr && self->Effect().EditorOpen();
}

bool Hide(const Plugin* plugin) {
  return Show(plugin);
}

}  // namespace

const PluginGui kGuiExtension = {
    &IsApiSupported, &GetPreferredApi, &Create,         &Destroy,    &SetScale,
    &GetSize,        &CanResize,       &GetResizeHints, &AdjustSize, &SetSize,
    &SetParent,      &SetTransient,    &SuggestTitle,   &Show,       &Hide};

}  // namespace velmora::clap
