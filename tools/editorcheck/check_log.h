// The verdicts of velmora-editorcheck: each check prints one line, failures are counted.
#pragma once

#include <cstdio>
#include <string>

namespace velmora::editorcheck {

class CheckLog {
 public:
  // Prints "ok" or "FAILED" with what was checked; returns ok.
  bool Expect(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    failures_ += ok ? 0 : 1;
    return ok;
  }
  void Note(const std::string& text) {
    std::printf("  %s\n", text.c_str());
    std::fflush(stdout);
  }
  int Failures() const { return failures_; }

 private:
  int failures_ = 0;
};

}  // namespace velmora::editorcheck
