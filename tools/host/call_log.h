// Every call a plug-in makes to its host, in the order they arrived. Plug-ins call from
// their audio, user-interface and worker threads, so recording and reading are locked.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace velmora::host {

struct HostCall {
  int32_t opcode = 0;
  int32_t index = 0;
  intptr_t value = 0;
  float opt = 0.0f;
};

class CallLog {
 public:
  // Any thread. Appends one call.
  void Record(const HostCall& call);

  // Any thread. A copy of every call recorded so far, oldest first.
  std::vector<HostCall> Snapshot() const;

  // Any thread. How many recorded calls carry this opcode.
  size_t Count(int32_t opcode) const;

  void Clear();

  // Any thread. Whether Record keeps calls (on by default). A validator measuring what a
  // plug-in allocates on its audio thread switches it off: the log's own growth would count.
  void SetRecording(bool on) { recording_ = on; }

 private:
  mutable std::mutex mutex_;
  std::vector<HostCall> calls_;
  std::atomic<bool> recording_{true};
};

}  // namespace velmora::host
