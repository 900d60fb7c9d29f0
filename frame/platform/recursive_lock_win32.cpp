// Windows instance and creation lock: a critical section, which is re-entrant by nature.
#include <windows.h>

#include "frame/recursive_lock.h"

namespace velmora {

struct RecursiveLock::Native {
  CRITICAL_SECTION section;
};

RecursiveLock::RecursiveLock() : native_(new Native) {
  InitializeCriticalSection(&native_->section);
}

RecursiveLock::~RecursiveLock() {
  DeleteCriticalSection(&native_->section);
}

void RecursiveLock::Lock() {
  EnterCriticalSection(&native_->section);
}

void RecursiveLock::Unlock() {
  LeaveCriticalSection(&native_->section);
}

}  // namespace velmora
