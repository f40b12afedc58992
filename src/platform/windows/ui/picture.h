#pragma once

#include <windows.h>

#include "platform/windows/ui/gdi_handle.h"

namespace kelvane::platform::windows::ui {

// A picture decoded from the executable's resources into a premultiplied
// 32-bit bitmap, so that a GIF's transparent colour stays transparent when
// drawn.
class Picture {
 public:
  // Decodes the JPEG or GIF held in an RCDATA resource through the Windows
  // Imaging Component, scaled from 96 dpi to the display's `dpi` as the
  // windows' layout is (Resampled). COM must be initialised.
  // Throws platform::Error.
  static Picture FromResource(HINSTANCE instance, int resourceId, int dpi = 96);

  int width() const { return width_; }
  int height() const { return height_; }
  // Draws the picture with its top-left corner at (x, y), blending by alpha.
  void Draw(HDC target, int x, int y) const;

 private:
  Picture(GdiHandle<HBITMAP> bitmap, int width, int height)
      : bitmap_(std::move(bitmap)), width_(width), height_(height) {}

  GdiHandle<HBITMAP> bitmap_;
  int width_;
  int height_;
};

}  // namespace kelvane::platform::windows::ui
