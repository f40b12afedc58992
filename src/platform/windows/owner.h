#pragma once

#include <utility>

namespace kelvane::platform::windows {

// Owns one system resource and gives it back with Release when done: one
// move-only type per kind of handle, so no class keeps a raw handle beside a
// hand-written destructor. The empty value is the handle type's zero; wrap
// only handles that were obtained.
template <class Handle, auto Release>
class Owner {
 public:
  Owner() = default;
  explicit Owner(Handle handle) : handle_(handle) {}
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;
  Owner(Owner&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  Owner& operator=(Owner&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  ~Owner() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  // Gives the handle up without releasing it.
  Handle release() { return std::exchange(handle_, Handle{}); }
  void reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Release(handle_);
    handle_ = handle;
  }
  // For an out parameter: releases what is held first.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Handle{};
};

}  // namespace kelvane::platform::windows
