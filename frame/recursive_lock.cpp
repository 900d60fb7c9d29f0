// The platform-independent half of the recursive lock: letting go of it completely for the
// length of a wait and taking it back afterwards.
#include "frame/recursive_lock.h"

namespace velmora {

int RecursiveLock::ReleaseAll() {
  if (!HeldByThisThread()) {
    return 0;
  }
  const int levels = depth_;
  for (int i = 0; i < levels; ++i) {
    Unlock();
  }
  return levels;
}

void RecursiveLock::Reacquire(int levels) {
  for (int i = 0; i < levels; ++i) {
    Lock();
  }
}

}  // namespace velmora
