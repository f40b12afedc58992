#pragma once

#include <cstdint>
#include <vector>

namespace kelvane::platform::windows::ui {

// A picture's pixels: premultiplied BGRA, one 32-bit value each, row by row.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> values;
};

// The picture resampled to the new size with a cubic filter (Catmull-Rom;
// widened to average when shrinking), each colour kept within its alpha so
// that the result stays premultiplied. WIC's scaler would do this on
// Windows, but under Wine every interpolation mode of it is nearest-
// neighbour, which turns a 1.5 times larger button into blocks.
Pixels Resampled(const Pixels& source, int width, int height);

}  // namespace kelvane::platform::windows::ui
