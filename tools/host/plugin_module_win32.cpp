// Loading plug-ins with the Windows loader.
#include <windows.h>

#include <vector>

#include "tools/host/plugin_module.h"

namespace velmora::host {
namespace {

std::wstring Widen(const std::string& text) {
  if (text.empty()) {
    return std::wstring();
  }
  int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) {
    // Not valid UTF-8: take the bytes as the system code page, as older tools would.
    length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    return std::wstring(wide.data());
  }
  std::vector<wchar_t> wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), length);
  return std::wstring(wide.data());
}

std::string LastErrorText() {
  DWORD code = GetLastError();
  char buffer[512] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, buffer, sizeof(buffer) - 1, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text.empty() ? "error " + std::to_string(code) : text;
}

}  // namespace

Result<std::unique_ptr<PluginModule>> PluginModule::Open(const std::string& path) {
  // No error dialog boxes for a missing dependency: the caller reports the failure.
  UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryW(Widen(path).c_str());
  std::string reason = module == nullptr ? LastErrorText() : std::string();
  SetErrorMode(previousMode);
  if (module == nullptr) {
    return Result<std::unique_ptr<PluginModule>>::Failure("cannot load plug-in " + path + ": " +
                                                          reason);
  }
  return Result<std::unique_ptr<PluginModule>>::Success(
      std::unique_ptr<PluginModule>(new PluginModule(reinterpret_cast<void*>(module))));
}

PluginModule::~PluginModule() {
  if (handle_ != nullptr) {
    FreeLibrary(reinterpret_cast<HMODULE>(handle_));
  }
}

void* PluginModule::FindSymbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name));
}

}  // namespace velmora::host
