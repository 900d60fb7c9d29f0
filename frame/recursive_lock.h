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

  // For a thread that holds the lock and must wait for another thread that may need it (an
  // editor closing its window thread): lets go of every level the calling thread holds and
  // returns how many; 0, and nothing released, when the calling thread does not hold it.
  int ReleaseAll();
  // Takes the lock again as many times as ReleaseAll let go of it.
  void Reacquire(int levels);

 private:
  struct Native;
  bool HeldByThisThread() const;

  std::unique_ptr<Native> native_;
  int depth_ = 0;  // levels held by the owning thread; only the owner reads or writes it
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
