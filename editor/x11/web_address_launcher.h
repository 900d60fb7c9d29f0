// Opens a web or mail address with the desktop's default program through xdg-open. The
// launcher is started directly (never through a shell) with the address as its only
// argument, and only http, https and mailto addresses are handed over, so an address can
// neither run a command nor open a local file.
#pragma once

namespace velmora {

// True when the launcher process started. The process is waited for later by
// ReapWebLaunchers, so it never stays behind as a zombie of the host.
bool LaunchWebAddress(const char* address);

// Collects launchers that have finished; never blocks.
void ReapWebLaunchers();

}  // namespace velmora
