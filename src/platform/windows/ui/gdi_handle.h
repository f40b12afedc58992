#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace kelvane::platform::windows::ui {

// Owns a GDI object (font, bitmap) and deletes it with its owner.
struct GdiObjectDeleter {
  void operator()(void* object) const noexcept {
    if (object) DeleteObject(static_cast<HGDIOBJ>(object));
  }
};
template <class Handle>
using GdiHandle = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

}  // namespace kelvane::platform::windows::ui
