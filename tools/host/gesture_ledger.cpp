#include "tools/host/gesture_ledger.h"

#include <cmath>

namespace velmora::host {

void GestureLedger::Feed(int32_t opcode, int32_t param, float value) {
  if (opcode != kAutomate && opcode != kBeginEdit && opcode != kEndEdit) {
    return;
  }
  ++calls_;
  bool& open = open_[param];
  const std::string which = " on parameter " + std::to_string(param);
  if (opcode == kBeginEdit) {
    if (open) {
      Fail("a second begin" + which + " while its gesture is open");
    }
    open = true;
    ++gestures_;
  } else if (opcode == kEndEdit) {
    if (!open) {
      Fail("an end" + which + " without its begin");
    }
    open = false;
  } else {
    const auto heard = heard_.find(param);
    if (!open && heard != heard_.end() && std::fabs(heard->second - value) > 1e-6f) {
      Fail("an automation" + which + " outside any gesture changed it from " +
           std::to_string(heard->second) + " to " + std::to_string(value));
    }
    heard_[param] = value;
  }
}

int GestureLedger::OpenGestures() const {
  int count = 0;
  for (const auto& entry : open_) {
    count += entry.second ? 1 : 0;
  }
  return count;
}

bool GestureLedger::IsOpen(int32_t param) const {
  const auto found = open_.find(param);
  return found != open_.end() && found->second;
}

void GestureLedger::Fail(const std::string& what) {
  if (fault_.empty()) {
    fault_ = "call " + std::to_string(calls_) + ": " + what;
  }
}

}  // namespace velmora::host
