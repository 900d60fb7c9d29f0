// The gui extension: the editor embedded in the host's window ("x11" on Linux, "win32" on
// Windows); no floating windows. Its size follows the host's scale (set_scale) and the user's
// zoom choice, in physical pixels as both window systems count them; at a given scale it is
// fixed, so the host cannot drag it to another size.
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
#include "graphics/device_scale.h"
#include "plugin/velmora_plugin.h"

namespace velmora::clap {
namespace {

#ifdef _WIN32
constexpr const char* kNativeApi = kWindowApiWin32;
#else
constexpr const char* kNativeApi = kWindowApiX11;
#endif

ClapPlugin* MainThreadSelf(const Plugin* plugin) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self != nullptr && self->OnMainThreadCheck() ? self : nullptr;
}

void CurrentSize(ClapPlugin& self, uint32_t* width, uint32_t* height) {
  int deviceWidth = 0;
  int deviceHeight = 0;
  self.Effect().EditorDeviceSize(deviceWidth, deviceHeight);
  *width = static_cast<uint32_t>(deviceWidth);
  *height = static_cast<uint32_t>(deviceHeight);
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

// The editor draws at the factor itself (held to the scales it has); an open window asks
// the host for its new size at once, as the host sized it from get_size before.
bool SetScale(const Plugin* plugin, double scale) {
  ClapPlugin* self = MainThreadSelf(plugin);
  if (self == nullptr || device_scale::Usable(scale) == 0.0) {
    return false;
  }
  bool resize = false;
  if (!self->Effect().SetEditorHostScale(scale, resize)) {
    return false;
  }
  if (resize) {
    int width = 0;
    int height = 0;
    self->Effect().EditorDeviceSize(width, height);
    self->ResizeEditor(width, height);
  }
  return true;
}

bool GetSize(const Plugin* plugin, uint32_t* width, uint32_t* height) {
  ClapPlugin* self = MainThreadSelf(plugin);
  if (self == nullptr || width == nullptr || height == nullptr) {
    return false;
  }
  CurrentSize(*self, width, height);
  return true;
}

bool CanResize(const Plugin*) {
  return false;
}

// Hosts ask even of a window that cannot be resized; the answer is that it cannot.
bool GetResizeHints(const Plugin* plugin, GuiResizeHints* hints) {
  ClapPlugin* self = MainThreadSelf(plugin);
  if (self == nullptr || hints == nullptr) {
    return false;
  }
  uint32_t width = 0, height = 0;
  CurrentSize(*self, &width, &height);
  *hints = GuiResizeHints{false, false, true, width, height};
  return true;
}

// Whatever size the host proposes, the editor's own is the one it can have.
bool AdjustSize(const Plugin* plugin, uint32_t* width, uint32_t* height) {
  return GetSize(plugin, width, height);
}

bool SetSize(const Plugin* plugin, uint32_t width, uint32_t height) {
  ClapPlugin* self = MainThreadSelf(plugin);
  if (self == nullptr) {
    return false;
  }
  uint32_t current = 0, currentHeight = 0;
  CurrentSize(*self, &current, &currentHeight);
  return width == current && height == currentHeight;
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
