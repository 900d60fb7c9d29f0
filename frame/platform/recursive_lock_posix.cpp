// POSIX instance and creation lock: a pthread mutex of the recursive kind.
#include <pthread.h>

#include "frame/recursive_lock.h"

namespace velmora {

struct RecursiveLock::Native {
  pthread_mutex_t mutex;
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
}

void RecursiveLock::Unlock() {
  pthread_mutex_unlock(&native_->mutex);
}

}  // namespace velmora
