#include "platform/windows/ui/picture_scaling.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kelvane::platform::windows::ui {

namespace {

double CatmullRom(double x) {
  x = std::fabs(x);
  if (x < 1) return 1.5 * x * x * x - 2.5 * x * x + 1;
  if (x < 2) return -0.5 * x * x * x + 2.5 * x * x - 4 * x + 2;
  return 0;
}

// For one axis: for every output position, the input positions it reads
// (clamped at the edges) and their weights, which add up to one.
struct Taps {
  std::vector<int> first;
  std::vector<std::vector<double>> weights;
};

Taps TapsFor(int from, int to) {
  const double scale = static_cast<double>(to) / from;
  const double stretch = std::max(1.0, 1.0 / scale);
  const double support = 2 * stretch;
  Taps taps;
  for (int out = 0; out < to; ++out) {
    const double centre = (out + 0.5) / scale - 0.5;
    const int first = static_cast<int>(std::floor(centre - support)) + 1;
    const int last = static_cast<int>(std::floor(centre + support));
    std::vector<double> weights;
    double sum = 0;
    for (int in = first; in <= last; ++in) {
      weights.push_back(CatmullRom((in - centre) / stretch));
      sum += weights.back();
    }
    for (double& weight : weights) weight /= sum;
    taps.first.push_back(first);
    taps.weights.push_back(std::move(weights));
  }
  return taps;
}

using Channels = std::array<double, 4>;  // B, G, R, A

Channels Unpack(std::uint32_t value) {
  return {static_cast<double>(value & 0xFF), static_cast<double>(value >> 8 & 0xFF),
          static_cast<double>(value >> 16 & 0xFF), static_cast<double>(value >> 24 & 0xFF)};
}

std::uint32_t Pack(const Channels& channels) {
  const auto byte = [](double value, double ceiling) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0, ceiling)));
  };
  const std::uint32_t alpha = byte(channels[3], 255);
  // Premultiplied: no colour may exceed its alpha.
  return byte(channels[0], alpha) | byte(channels[1], alpha) << 8 | byte(channels[2], alpha) << 16 | alpha << 24;
}

}  // namespace

Pixels Resampled(const Pixels& source, int width, int height) {
  Pixels result{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0) return result;
  const Taps across = TapsFor(source.width, width), down = TapsFor(source.height, height);
  const auto at = [](int index, int size) { return static_cast<std::size_t>(std::clamp(index, 0, size - 1)); };
  // Across first, into unrounded rows; then down.
  std::vector<Channels> rows(static_cast<std::size_t>(width) * source.height);
  for (int y = 0; y < source.height; ++y) {
    for (int x = 0; x < width; ++x) {
      Channels sum{};
      const auto& weights = across.weights[static_cast<std::size_t>(x)];
      for (std::size_t tap = 0; tap < weights.size(); ++tap) {
        const std::size_t column = at(across.first[static_cast<std::size_t>(x)] + static_cast<int>(tap), source.width);
        const Channels pixel = Unpack(source.values[static_cast<std::size_t>(y) * source.width + column]);
        for (std::size_t channel = 0; channel < 4; ++channel) sum[channel] += weights[tap] * pixel[channel];
      }
      rows[static_cast<std::size_t>(y) * width + x] = sum;
    }
  }
  for (int y = 0; y < height; ++y) {
    const auto& weights = down.weights[static_cast<std::size_t>(y)];
    for (int x = 0; x < width; ++x) {
      Channels sum{};
      for (std::size_t tap = 0; tap < weights.size(); ++tap) {
        const std::size_t row = at(down.first[static_cast<std::size_t>(y)] + static_cast<int>(tap), source.height);
        const Channels& pixel = rows[row * width + x];
        for (std::size_t channel = 0; channel < 4; ++channel) sum[channel] += weights[tap] * pixel[channel];
      }
      result.values[static_cast<std::size_t>(y) * width + x] = Pack(sum);
    }
  }
  return result;
}

}  // namespace kelvane::platform::windows::ui
