// A re-entrant mutual-exclusion lock: the thread that holds it may take it again, and must
// release it as often as it took it. The plug-in's instance lock and the process-wide creation
// lock are of this kind, because the dispatcher holds the instance lock while it calls
// operations (engine updates, chunk encoding) that take it once more.
// The native lock lives behind an opaque pointer; each platform supplies one source file.
#pragma once

#include <memory>

namespace velmora {

class RecursiveLock {
 public:
  RecursiveLock();
  ~RecursiveLock();
  RecursiveLock(const RecursiveLock&) = delete;
  RecursiveLock& operator=(const RecursiveLock&) = delete;

  void Lock();
  void Unlock();

 private:
  struct Native;
  std::unique_ptr<Native> native_;
};

// Holds a RecursiveLock for the lifetime of the guard.
class LockGuard {
 public:
  explicit LockGuard(RecursiveLock& lock) : lock_(lock) { lock_.Lock(); }
  ~LockGuard() { lock_.Unlock(); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

 private:
  RecursiveLock& lock_;
};

}  // namespace velmora
