#include "tools/host/call_log.h"

#include <algorithm>

namespace velmora::host {

void CallLog::Record(const HostCall& call) {
  if (!recording_) {
    return;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back(call);
}

std::vector<HostCall> CallLog::Snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

size_t CallLog::Count(int32_t opcode) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<size_t>(std::count_if(
      calls_.begin(), calls_.end(), [opcode](const HostCall& c) { return c.opcode == opcode; }));
}

void CallLog::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.clear();
}

}  // namespace velmora::host
