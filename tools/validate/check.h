// One check of velmora-validate: its name, what it needs to know about the run, and its
// verdict with a one-line reason.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace velmora::validate {

// How much the validator asks of a plug-in. Basic: it must not crash, hang or produce
// non-finite output for finite input, and its state chunks must come back as saved. Normal
// adds what hosts rely on: texts within their VST 2 limits, parameters that stay in 0..1
// whatever they are sent, parameter values back exactly as set. Strict adds robustness and
// real-time safety: no allocation in steady audio blocks, no subnormal single-precision
// output, recovery from non-finite input, the same texts under a comma-decimal locale,
// 8-character labels, and blocks longer than announced.
enum class Strictness { kBasic = 1, kNormal = 2, kStrict = 3 };

const char* StrictnessName(Strictness strictness);

struct CheckContext {
  std::string pluginPath;
  Strictness strictness = Strictness::kNormal;
  uint32_t seed = 1;
};

class Outcome {
 public:
  enum class Verdict { kPass, kFail, kSkip };

  static Outcome Pass(std::string note = "") { return {Verdict::kPass, std::move(note)}; }
  static Outcome Fail(std::string reason) { return {Verdict::kFail, std::move(reason)}; }
  static Outcome Skip(std::string reason) { return {Verdict::kSkip, std::move(reason)}; }

  Verdict verdict() const { return verdict_; }
  const std::string& reason() const { return reason_; }

 private:
  Outcome(Verdict verdict, std::string reason) : verdict_(verdict), reason_(std::move(reason)) {}
  Verdict verdict_;
  std::string reason_;
};

using CheckFunction = Outcome (*)(const CheckContext&);

struct Check {
  const char* name;
  CheckFunction run;
};

// Every check, in the order they run.
Outcome CheckInfo(const CheckContext& context);
Outcome CheckPrograms(const CheckContext& context);
Outcome CheckState(const CheckContext& context);
Outcome CheckEditor(const CheckContext& context);
Outcome CheckProcessing(const CheckContext& context);
Outcome CheckNonFiniteInput(const CheckContext& context);
Outcome CheckLongBlock(const CheckContext& context);
Outcome CheckAutomation(const CheckContext& context);
Outcome CheckParameterFuzz(const CheckContext& context);
Outcome CheckLocale(const CheckContext& context);
Outcome CheckAllocation(const CheckContext& context);

}  // namespace velmora::validate
