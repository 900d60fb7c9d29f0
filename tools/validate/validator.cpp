#include "tools/validate/validator.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "tools/validate/leak_reports.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace velmora::validate {
namespace {

std::atomic<const char*> currentCheck{"loading"};

// Async-signal-safe output for the last words of a crashed or hung run.
void WriteRaw(const char* text) {
  size_t length = std::strlen(text);
#ifdef _WIN32
  _write(1, text, static_cast<unsigned>(length));
#else
  ssize_t ignored = write(STDOUT_FILENO, text, length);
  (void)ignored;
#endif
}

void OnFatalSignal(int signal) {
  // Signal numbers are small: two digits at most on every platform the tool runs on.
  char number[3] = {static_cast<char>('0' + signal / 10 % 10), static_cast<char>('0' + signal % 10),
                    '\0'};
  WriteRaw("FAIL ");
  WriteRaw(currentCheck.load());
  WriteRaw(": the plug-in crashed (signal ");
  WriteRaw(signal < 10 ? number + 1 : number);
  WriteRaw(")\n");
  std::_Exit(1);
}

void CatchCrashes() {
  for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL}) {
    std::signal(signal, OnFatalSignal);
  }
}

// Ends the process with a FAIL line when the run outlives its time limit.
class Watchdog {
 public:
  explicit Watchdog(double seconds)
      : thread_([this, seconds] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (!done_.wait_for(lock, std::chrono::duration<double>(seconds),
                              [this] { return finished_; })) {
            std::fflush(stdout);
            WriteRaw("FAIL ");
            WriteRaw(currentCheck.load());
            WriteRaw(": the run exceeded its time limit\n");
            std::_Exit(1);
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      finished_ = true;
    }
    done_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

bool Selected(const ValidateOptions& options, const char* name) {
  return options.only.empty() ||
         std::find(options.only.begin(), options.only.end(), name) != options.only.end();
}

const char* VerdictWord(Outcome::Verdict verdict) {
  switch (verdict) {
    case Outcome::Verdict::kPass:
      return "PASS";
    case Outcome::Verdict::kFail:
      return "FAIL";
    default:
      return "SKIP";
  }
}

}  // namespace

const char* StrictnessName(Strictness strictness) {
  switch (strictness) {
    case Strictness::kBasic:
      return "basic";
    case Strictness::kNormal:
      return "normal";
    default:
      return "strict";
  }
}

const std::vector<Check>& AllChecks() {
  // The check most likely to crash a plug-in that is otherwise fine runs last.
  static const std::vector<Check> checks = {
      {"info", CheckInfo},
      {"programs", CheckPrograms},
      {"state", CheckState},
      {"editor", CheckEditor},
      {"processing", CheckProcessing},
      {"automation", CheckAutomation},
      {"fuzz", CheckParameterFuzz},
      {"locale", CheckLocale},
      {"allocation", CheckAllocation},
      {"nonfinite-input", CheckNonFiniteInput},
      {"long-block", CheckLongBlock},
  };
  return checks;
}

int RunValidation(const ValidateOptions& options, std::FILE* out) {
  for (const std::string& name : options.only) {
    const auto& checks = AllChecks();
    if (std::none_of(checks.begin(), checks.end(),
                     [&name](const Check& check) { return name == check.name; })) {
      std::fprintf(out, "velmora-validate: no check named \"%s\" (--list names them)\n",
                   name.c_str());
      return 2;
    }
  }
  CatchCrashes();
  KeepPluginMappedForLeakReports(options.pluginPath);
  Watchdog watchdog(options.timeLimitSeconds);
  CheckContext context{options.pluginPath, options.strictness, options.seed};
  int passed = 0, failed = 0, skipped = 0;
  for (const Check& check : AllChecks()) {
    if (!Selected(options, check.name)) {
      continue;
    }
    currentCheck = check.name;
    Outcome outcome = check.run(context);
    std::fprintf(out, "%s %s%s%s\n", VerdictWord(outcome.verdict()), check.name,
                 outcome.reason().empty() ? "" : ": ", outcome.reason().c_str());
    std::fflush(out);
    passed += outcome.verdict() == Outcome::Verdict::kPass;
    failed += outcome.verdict() == Outcome::Verdict::kFail;
    skipped += outcome.verdict() == Outcome::Verdict::kSkip;
  }
  currentCheck = "finishing";
  std::fprintf(out,
               "velmora-validate: %s: %d passed, %d failed, %d skipped at strictness %d (%s)\n",
               options.pluginPath.c_str(), passed, failed, skipped,
               static_cast<int>(options.strictness), StrictnessName(options.strictness));
  return failed > 0 ? 1 : 0;
}

}  // namespace velmora::validate
