#pragma once

#include <windows.h>

#include <functional>

namespace kelvane::program {

// The few thread primitives the program needs, on Windows' own. The C++
// library's report their failures as std::system_error, which brings its
// error categories and the strings they keep (30 KB of the executable) for
// failures these primitives cannot have.

class Lock {
 public:
  void Acquire() { AcquireSRWLockExclusive(&lock_); }
  void Release() { ReleaseSRWLockExclusive(&lock_); }
  SRWLOCK* native() { return &lock_; }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
};

// The lock, held for the scope.
class Held {
 public:
  explicit Held(Lock& lock) : lock_(lock) { lock_.Acquire(); }
  ~Held() { lock_.Release(); }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;

 private:
  Lock& lock_;
};

class Condition {
 public:
  // With the lock held: until done() holds, the lock is released while waiting.
  template <class Done>
  void Wait(Lock& lock, Done&& done) {
    while (!done()) SleepConditionVariableSRW(&condition_, lock.native(), INFINITE, 0);
  }
  void WakeAll() { WakeAllConditionVariable(&condition_); }

 private:
  CONDITION_VARIABLE condition_ = CONDITION_VARIABLE_INIT;
};

// Runs the body on a thread of its own from construction; Join (or the
// destructor) waits for it to end. Fails as the system does when no thread
// can be made.
class Thread {
 public:
  explicit Thread(std::function<void()> body);
  ~Thread() { Join(); }
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;
  void Join();

 private:
  static unsigned __stdcall Start(void* self);
  std::function<void()> body_;
  HANDLE handle_ = nullptr;
};

}  // namespace kelvane::program
