#include "editor/x11/web_address_launcher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "editor/web_address.h"

extern char** environ;

namespace velmora {
namespace {

constexpr const char* kLauncher = "xdg-open";

struct Launchers {
  std::mutex mutex;
  std::vector<pid_t> running;
};

Launchers& Running() {
  static Launchers launchers;
  return launchers;
}

}  // namespace

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
