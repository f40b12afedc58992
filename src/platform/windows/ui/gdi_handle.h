#pragma once

#include <windows.h>

#include <utility>

#include "platform/windows/owner.h"

namespace kelvane::platform::windows::ui {

namespace release {
template <class Object>
void DeleteGdiObject(Object object) {
  DeleteObject(object);
}
inline void DeleteMemoryDc(HDC context) { DeleteDC(context); }
inline void ReleaseScreenDc(HDC context) { ReleaseDC(nullptr, context); }
}  // namespace release

// A GDI object (font, bitmap), deleted with its owner.
template <class Object>
using GdiHandle = Owner<Object, release::DeleteGdiObject<Object>>;
// A memory device context (CreateCompatibleDC).
using MemoryDc = Owner<HDC, release::DeleteMemoryDc>;
// The screen's device context (GetDC(nullptr)).
using ScreenDc = Owner<HDC, release::ReleaseScreenDc>;

// An object selected into a device context for as long as this lives; the
// one it replaced is selected back after.
class SelectedObject {
 public:
  SelectedObject(HDC context, HGDIOBJ object) : context_(context), previous_(SelectObject(context, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_) SelectObject(context_, previous_);
  }

 private:
  HDC context_;
  HGDIOBJ previous_;
};

}  // namespace kelvane::platform::windows::ui
