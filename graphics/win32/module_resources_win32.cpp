#include <windows.h>

#include "graphics/module_resources.h"

namespace velmora {
namespace {

// The module (DLL or test program) this code is linked into, found from one of its own
// addresses, so that no caller has to pass the handle down.
HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

ResourceBytes FindImageResource(int32_t id) {
  HMODULE module = ThisModule();
  if (module == nullptr || id < 0 || id > 0xFFFF) {
    return ResourceBytes{};
  }
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), "PNG");
  if (info == nullptr) {
    return ResourceBytes{};
  }
  const DWORD size = SizeofResource(module, info);
  HGLOBAL handle = LoadResource(module, info);
  const void* data = handle != nullptr ? LockResource(handle) : nullptr;
  if (data == nullptr) {
    return ResourceBytes{};
  }
  return ResourceBytes{static_cast<const uint8_t*>(data), size};
}

}  // namespace velmora
