#include "tests/tools/isolated_run.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

namespace velmora::host::testing {
namespace {

std::string ReadAll(int fd) {
  std::string text;
  char buffer[512];
  ssize_t got = 0;
  while ((got = read(fd, buffer, sizeof(buffer))) > 0) {
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

}  // namespace

IsolatedOutcome RunIsolated(const std::function<std::string()>& body, unsigned timeoutSeconds) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    return {false, "cannot create a pipe"};
  }
  pid_t child = fork();
  if (child < 0) {
    close(pipeFds[0]);
    close(pipeFds[1]);
    return {false, "cannot fork"};
  }
  if (child == 0) {
    close(pipeFds[0]);
    // The default action of SIGALRM ends the child: a hung plug-in cannot outlive the limit.
    alarm(timeoutSeconds);
    std::string failure = body();
    ssize_t ignored = write(pipeFds[1], failure.data(), failure.size());
    (void)ignored;
    close(pipeFds[1]);
    _exit(failure.empty() ? 0 : 1);
  }
  close(pipeFds[1]);
  std::string message = ReadAll(pipeFds[0]);
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFSIGNALED(status)) {
    int signal = WTERMSIG(status);
    return {false, signal == SIGALRM ? "timed out after " + std::to_string(timeoutSeconds) + " s"
                                     : std::string("died from signal ") + strsignal(signal)};
  }
  return {WIFEXITED(status) && WEXITSTATUS(status) == 0, message};
}

}  // namespace velmora::host::testing
