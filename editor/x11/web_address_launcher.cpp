#include "editor/x11/web_address_launcher.h"

#include <spawn.h>
#include <strings.h>
#include <sys/wait.h>

#include <cstring>
#include <mutex>
#include <vector>

extern char** environ;

namespace velmora {
namespace {

constexpr const char* kLauncher = "xdg-open";
constexpr const char* kSchemes[] = {"http://", "https://", "mailto:"};

struct Launchers {
  std::mutex mutex;
  std::vector<pid_t> running;
};

Launchers& Running() {
  static Launchers launchers;
  return launchers;
}

}  // namespace

bool IsOpenableWebAddress(const char* address) {
  if (address == nullptr) {
    return false;
  }
  size_t schemeLength = 0;
  for (const char* scheme : kSchemes) {
    if (strncasecmp(address, scheme, std::strlen(scheme)) == 0) {
      schemeLength = std::strlen(scheme);
    }
  }
  if (schemeLength == 0 || address[schemeLength] == '\0') {
    return false;
  }
  for (const char* c = address; *c != '\0'; ++c) {
    if (static_cast<unsigned char>(*c) <= 0x20 || *c == 0x7F) {
      return false;
    }
  }
  return true;
}

bool LaunchWebAddress(const char* address) {
  if (!IsOpenableWebAddress(address)) {
    return false;
  }
  ReapWebLaunchers();
  char launcher[16];
  std::strncpy(launcher, kLauncher, sizeof(launcher));
  std::vector<char> argument(address, address + std::strlen(address) + 1);
  char* arguments[] = {launcher, argument.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, kLauncher, nullptr, nullptr, arguments, environ) != 0) {
    return false;
  }
  Launchers& launchers = Running();
  std::lock_guard<std::mutex> guard(launchers.mutex);
  launchers.running.push_back(pid);
  return true;
}

void ReapWebLaunchers() {
  Launchers& launchers = Running();
  std::lock_guard<std::mutex> guard(launchers.mutex);
  auto& running = launchers.running;
  for (size_t i = 0; i < running.size();) {
    const pid_t done = waitpid(running[i], nullptr, WNOHANG);
    // Finished, or already collected by the host (no such child any more).
    if (done == running[i] || done < 0) {
      running.erase(running.begin() + static_cast<long>(i));
    } else {
      ++i;
    }
  }
}

}  // namespace velmora
