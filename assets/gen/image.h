// RGBA images and the few drawing operations the generated textures need:
// filled rectangles, polygons and circles, lines, and text in a 5 x 7 font.
// Drawing is integer-exact and has no state beyond the image, so the same
// calls always give the same pixels.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace assetgen {

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

struct PointF {
  double x = 0, y = 0;
};

class Image {
 public:
  Image(int width, int height, Rgba fill = {});

  int width() const { return width_; }
  int height() const { return height_; }
  Rgba at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  // Sets a pixel; coordinates outside the image are ignored.
  void set(int x, int y, Rgba c);
  // The pixels row by row, 4 bytes each (r, g, b, a).
  std::vector<std::uint8_t> rgba_bytes() const;

  // Fills [x0, x1) x [y0, y1), clipped to the image.
  void fill_rect(int x0, int y0, int x1, int y1, Rgba c);
  // Draws the outline of [x0, x1) x [y0, y1) `thickness` pixels wide.
  void frame_rect(int x0, int y0, int x1, int y1, int thickness, Rgba c);
  // Fills the polygon (even-odd rule, pixel centres).
  void fill_polygon(const std::vector<PointF>& points, Rgba c);
  // Draws the polygon's closed outline one pixel wide.
  void outline_polygon(const std::vector<PointF>& points, Rgba c);
  void fill_circle(double cx, double cy, double radius, Rgba c);
  void line(double x0, double y0, double x1, double y1, Rgba c);
  // Writes `text` (A-Z, 0-9, blank and - . / : are drawn; other characters
  // leave a gap) with its top left corner at (x, y), each font pixel `scale`
  // image pixels wide.
  void text(int x, int y, std::string_view text, int scale, Rgba c);
  // The width in pixels of `text` drawn at `scale`.
  static int text_width(std::string_view text, int scale);

  // The image halved in each direction (at least 1 pixel), each pixel the
  // rounded mean of the 2 x 2 (or 2 x 1, 1 x 2) source pixels.
  Image half() const;

 private:
  int width_;
  int height_;
  std::vector<Rgba> pixels_;
};

// A reproducible pseudo-random value in [0, 1) for the integer pair (x, y)
// and a seed: the same inputs always give the same value.
double hash_noise(int x, int y, std::uint32_t seed);

// Smooth value noise in [0, 1) at (x, y) with cells `cell` pixels wide.
double value_noise(double x, double y, double cell, std::uint32_t seed);

}  // namespace assetgen
