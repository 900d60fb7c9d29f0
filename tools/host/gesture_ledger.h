// A host's check of the edit notifications it receives from an editor, call by call: every begin
// is followed by exactly one end for the same parameter, no end comes without its begin, no
// parameter has two gestures open at once, and an automation outside a gesture never
// changes the value the host last heard (closing a value entry repeats the value, which is
// harmless). The first fault is kept, with the call's position, for the test to report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace velmora::host {

class GestureLedger {
 public:
  static constexpr int32_t kAutomate = 0;
  static constexpr int32_t kBeginEdit = 43;
  static constexpr int32_t kEndEdit = 44;

  // What the host knows of a parameter before the first call (its normalised value).
  void Know(int32_t param, float value) { heard_[param] = value; }
  // One host call; calls of other opcodes are ignored.
  void Feed(int32_t opcode, int32_t param, float value);

  bool Ok() const { return fault_.empty(); }
  // The first fault, or empty.
  const std::string& Fault() const { return fault_; }
  // Parameters with a gesture open now.
  int OpenGestures() const;
  bool IsOpen(int32_t param) const;
  size_t Gestures() const { return gestures_; }

 private:
  void Fail(const std::string& what);

  std::map<int32_t, bool> open_;
  std::map<int32_t, float> heard_;
  size_t calls_ = 0;
  size_t gestures_ = 0;
  std::string fault_;
};

}  // namespace velmora::host
