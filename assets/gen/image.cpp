#include "image.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace assetgen {
namespace {

// 5 x 7 glyphs, one byte per row, bit 4 the leftmost pixel.
struct Glyph {
  char c;
  std::uint8_t rows[7];
};

constexpr Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}},
    {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
};

const Glyph* FindGlyph(char c) {
  for (const Glyph& g : kFont) {
    if (g.c == c) return &g;
  }
  return nullptr;
}

std::uint32_t Mix(std::uint32_t h) {
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double Smooth(double t) {
  return t * t * (3.0 - 2.0 * t);
}

}  // namespace

Image::Image(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

void Image::set(int x, int y, Rgba c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = c;
}

std::vector<std::uint8_t> Image::rgba_bytes() const {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(pixels_.size() * 4);
  for (const Rgba& p : pixels_) {
    bytes.push_back(p.r);
    bytes.push_back(p.g);
    bytes.push_back(p.b);
    bytes.push_back(p.a);
  }
  return bytes;
}

void Image::fill_rect(int x0, int y0, int x1, int y1, Rgba c) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width_);
  y1 = std::min(y1, height_);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) pixels_[static_cast<std::size_t>(y) * width_ + x] = c;
  }
}

void Image::frame_rect(int x0, int y0, int x1, int y1, int thickness, Rgba c) {
  fill_rect(x0, y0, x1, y0 + thickness, c);
  fill_rect(x0, y1 - thickness, x1, y1, c);
  fill_rect(x0, y0, x0 + thickness, y1, c);
  fill_rect(x1 - thickness, y0, x1, y1, c);
}

void Image::fill_polygon(const std::vector<PointF>& points, Rgba c) {
  if (points.size() < 3) return;
  double min_y = points[0].y, max_y = points[0].y;
  for (const PointF& p : points) {
    min_y = std::min(min_y, p.y);
    max_y = std::max(max_y, p.y);
  }
  const int y_begin = std::max(0, static_cast<int>(std::floor(min_y)));
  const int y_end = std::min(height_, static_cast<int>(std::ceil(max_y)) + 1);
  std::vector<double> crossings;
  for (int y = y_begin; y < y_end; ++y) {
    const double sy = y + 0.5;
    crossings.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
      const PointF& a = points[i];
      const PointF& b = points[(i + 1) % points.size()];
      if ((a.y <= sy) != (b.y <= sy)) {
        crossings.push_back(a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const int x_begin = std::max(0, static_cast<int>(std::ceil(crossings[i] - 0.5)));
      const int x_end = std::min(width_, static_cast<int>(std::ceil(crossings[i + 1] - 0.5)));
      for (int x = x_begin; x < x_end; ++x) set(x, y, c);
    }
  }
}

void Image::outline_polygon(const std::vector<PointF>& points, Rgba c) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    const PointF& a = points[i];
    const PointF& b = points[(i + 1) % points.size()];
    line(a.x, a.y, b.x, b.y, c);
  }
}

void Image::fill_circle(double cx, double cy, double radius, Rgba c) {
  const int y0 = static_cast<int>(std::floor(cy - radius));
  const int y1 = static_cast<int>(std::ceil(cy + radius));
  const int x0 = static_cast<int>(std::floor(cx - radius));
  const int x1 = static_cast<int>(std::ceil(cx + radius));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      if (dx * dx + dy * dy <= radius * radius) set(x, y, c);
    }
  }
}

void Image::line(double x0, double y0, double x1, double y1, Rgba c) {
  const double steps = std::max({std::fabs(x1 - x0), std::fabs(y1 - y0), 1.0});
  const int n = static_cast<int>(std::ceil(steps));
  for (int i = 0; i <= n; ++i) {
    const double t = static_cast<double>(i) / n;
    set(static_cast<int>(std::floor(x0 + (x1 - x0) * t)),
        static_cast<int>(std::floor(y0 + (y1 - y0) * t)), c);
  }
}

void Image::text(int x, int y, std::string_view text, int scale, Rgba c) {
  for (char ch : text) {
    if (const Glyph* g = FindGlyph(ch)) {
      for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
          if (g->rows[row] & (0x10 >> col)) {
            fill_rect(x + col * scale, y + row * scale, x + (col + 1) * scale,
                      y + (row + 1) * scale, c);
          }
        }
      }
    }
    x += 6 * scale;
  }
}

int Image::text_width(std::string_view text, int scale) {
  return text.empty() ? 0 : (static_cast<int>(text.size()) * 6 - 1) * scale;
}

Image Image::half() const {
  const int w = std::max(1, width_ / 2);
  const int h = std::max(1, height_ / 2);
  Image out(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      unsigned sum[4] = {0, 0, 0, 0};
      unsigned n = 0;
      for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
          const int sx = std::min(x * 2 + dx, width_ - 1);
          const int sy = std::min(y * 2 + dy, height_ - 1);
          const Rgba p = at(sx, sy);
          sum[0] += p.r;
          sum[1] += p.g;
          sum[2] += p.b;
          sum[3] += p.a;
          ++n;
        }
      }
      out.set(x, y,
              Rgba{static_cast<std::uint8_t>((sum[0] + n / 2) / n),
                   static_cast<std::uint8_t>((sum[1] + n / 2) / n),
                   static_cast<std::uint8_t>((sum[2] + n / 2) / n),
                   static_cast<std::uint8_t>((sum[3] + n / 2) / n)});
    }
  }
  return out;
}

double hash_noise(int x, int y, std::uint32_t seed) {
  const std::uint32_t h = Mix(static_cast<std::uint32_t>(x) * 0x9E3779B1u ^
                              Mix(static_cast<std::uint32_t>(y) * 0x85EBCA77u ^ seed));
  return (h >> 8) / 16777216.0;
}

double value_noise(double x, double y, double cell, std::uint32_t seed) {
  const double fx = x / cell, fy = y / cell;
  const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
  const double tx = Smooth(fx - ix), ty = Smooth(fy - iy);
  const double a = hash_noise(ix, iy, seed), b = hash_noise(ix + 1, iy, seed);
  const double c = hash_noise(ix, iy + 1, seed), d = hash_noise(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

}  // namespace assetgen
