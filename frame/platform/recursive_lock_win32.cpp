// Windows instance and creation lock: a critical section, which is re-entrant by nature.
#include <windows.h>

#include <atomic>

#include "frame/recursive_lock.h"

namespace velmora {

struct RecursiveLock::Native {
  CRITICAL_SECTION section;
  std::atomic<DWORD> owner{0};  // 0 is never a thread id
};

RecursiveLock::RecursiveLock() : native_(new Native) {
  InitializeCriticalSection(&native_->section);
}

RecursiveLock::~RecursiveLock() {
  DeleteCriticalSection(&native_->section);
}

void RecursiveLock::Lock() {
  EnterCriticalSection(&native_->section);
  if (depth_++ == 0) {
    native_->owner.store(GetCurrentThreadId());
  }
}

void RecursiveLock::Unlock() {
  if (--depth_ == 0) {
    native_->owner.store(0);
  }
  LeaveCriticalSection(&native_->section);
}

bool RecursiveLock::HeldByThisThread() const {
  return native_->owner.load() == GetCurrentThreadId();
}

}  // namespace velmora
