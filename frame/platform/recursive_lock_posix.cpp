// POSIX instance and creation lock: a pthread mutex of the recursive kind.
#include <pthread.h>

#include <atomic>

#include "frame/recursive_lock.h"

namespace velmora {

struct RecursiveLock::Native {
  pthread_mutex_t mutex;
  std::atomic<bool> held{false};
  std::atomic<pthread_t> owner{};
};

RecursiveLock::RecursiveLock() : native_(new Native) {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(&native_->mutex, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

RecursiveLock::~RecursiveLock() {
  pthread_mutex_destroy(&native_->mutex);
}

void RecursiveLock::Lock() {
  pthread_mutex_lock(&native_->mutex);
  if (depth_++ == 0) {
    native_->owner.store(pthread_self());
    native_->held.store(true);
  }
}

void RecursiveLock::Unlock() {
  if (--depth_ == 0) {
    native_->held.store(false);
  }
  pthread_mutex_unlock(&native_->mutex);
}

bool RecursiveLock::HeldByThisThread() const {
  return native_->held.load() && pthread_equal(native_->owner.load(), pthread_self()) != 0;
}

}  // namespace velmora
