#include "textures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "car_shape.h"

namespace assetgen {
namespace {

constexpr Rgba kGuideBackground{48, 48, 52, 255};
constexpr Rgba kRegionBackground{236, 236, 232, 255};
constexpr Rgba kInk{20, 20, 24, 255};
constexpr Rgba kShell{196, 214, 238, 255};
constexpr Rgba kBonnet{250, 200, 140, 255};
constexpr Rgba kDoor{172, 226, 172, 255};
constexpr Rgba kGlassRef{150, 160, 170, 255};
constexpr Rgba kTrim{90, 90, 96, 255};
constexpr Rgba kTyre{34, 34, 36, 255};
constexpr Rgba kRim{178, 182, 188, 255};

std::uint8_t Clamp8(double v) {
  return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(v)), 0, 255));
}

Rgba Gray(double v, double a = 255) {
  return Rgba{Clamp8(v), Clamp8(v), Clamp8(v), Clamp8(a)};
}

Rgba PanelColour(const Panel& panel) {
  if (panel.node == "Bonnet") return kBonnet;
  if (panel.node.starts_with("Door")) return kDoor;
  if (panel.paint == Paint::kGlass || panel.paint == Paint::kLight) return kGlassRef;
  return kShell;
}

// A polygon's vertices in body texture pixels, scaled to an image of `size`.
std::vector<PointF> Project(const Polygon& polygon, double scale) {
  Vec3d lo = polygon.points[0], hi = polygon.points[0];
  for (const Vec3d& p : polygon.points) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
  }
  std::vector<PointF> out;
  for (const Vec3d& p : polygon.points) {
    double u = 0, v = 0;
    MapUv(polygon, p, lo, hi, u, v);
    out.push_back({u * scale, v * scale});
  }
  return out;
}

void Label(Image& image, const PointF& centre, std::string_view text, int scale, Rgba c) {
  image.text(static_cast<int>(centre.x) - Image::text_width(text, scale) / 2,
             static_cast<int>(centre.y) - 7 * scale / 2, text, scale, c);
}

// The body texture position (pixels) of a car-space point under `map`.
PointF At(UvMap map, Vec3d p) {
  Polygon polygon{{p}, {}, map, {}};
  double u = 0, v = 0;
  MapUv(polygon, p, p, p, u, v);
  return {u, v};
}

void Region(Image& image, const TexRect& r, std::string_view title, Rgba fill) {
  const bool dark = fill.r + fill.g + fill.b < 3 * 128;
  image.fill_rect(static_cast<int>(r.u0), static_cast<int>(r.v0), static_cast<int>(r.u1),
                  static_cast<int>(r.v1), fill);
  image.frame_rect(static_cast<int>(r.u0), static_cast<int>(r.v0), static_cast<int>(r.u1),
                   static_cast<int>(r.v1), 2, kInk);
  image.text(static_cast<int>(r.u0) + 6, static_cast<int>(r.v0) + 6, title, 2,
             dark ? Gray(235) : kInk);
}

// The painting guide: every region of the body texture with the panels that
// sample it, outlined and named.
Image DrawBodyGuide(int size) {
  const double s = size / kBodyTextureSize;
  Image image(size, size, kGuideBackground);
  Region(image, kSideLeftRect, "LEFT SIDE", kRegionBackground);
  Region(image, kSideRightRect, "RIGHT SIDE", kRegionBackground);
  Region(image, kTopRect, "TOP", kRegionBackground);
  Region(image, kFrontRect, "FRONT", kRegionBackground);
  Region(image, kRearRect, "REAR", kRegionBackground);
  Region(image, kBumperFRect, "BUMPER FRONT", kShell);
  Region(image, kBumperRRect, "BUMPER REAR", kShell);
  Region(image, kUnderRect, "UNDERBODY", kTrim);
  Region(image, kSpoilerRect, "SPOILER", kShell);
  Region(image, kTyreRect, "TYRE", kTyre);
  Region(image, kRimRect, "RIM", kRim);
  image.text(static_cast<int>(kUnderRect.u0) + 6, static_cast<int>(kUnderRect.v0) + 26,
             "EXHAUST ANTENNA WIPERS", 1, Gray(230));
  image.text(static_cast<int>(kTyreRect.u0) + 6, static_cast<int>(kTyreRect.v0) + 26,
             "TREAD AND SIDEWALL", 1, Gray(200));

  // The car's side silhouette behind the side panels, wheels included.
  for (UvMap map : {UvMap::kSideLeft, UvMap::kSideRight}) {
    std::vector<PointF> outline;
    for (const auto& [z, y] : SideProfile()) outline.push_back(At(map, {-85, y, z}));
    image.fill_polygon(outline, Gray(205));
    for (double axle : {kFrontAxleZ, kRearAxleZ}) {
      const PointF c = At(map, {0, kWheelCentreY, axle});
      const double r = At(map, {0, 0, 0}).y - At(map, {0, kWheelRadius, 0}).y;
      image.fill_circle(c.x, c.y, r, kTyre);
      image.fill_circle(c.x, c.y, r * 0.6, kRim);
    }
  }
  // The painted panels.
  for (const Panel& panel : CarPanels()) {
    if (panel.paint == Paint::kGlass || panel.paint == Paint::kLight) continue;
    for (const Polygon& polygon : panel.polygons) {
      if (polygon.map == UvMap::kLocal) continue;
      const std::vector<PointF> pts = Project(polygon, s);
      Rgba colour = PanelColour(panel);
      if (panel.paint == Paint::kBodyOpacity) colour = Gray(30);
      image.fill_polygon(pts, colour);
      image.outline_polygon(pts, kInk);
    }
  }
  // Glass and lamps projected for orientation (they sample their own textures).
  for (const Panel& panel : CarPanels()) {
    for (const Polygon& polygon : panel.polygons) {
      Polygon view = polygon;
      if (polygon.map != UvMap::kLocal) continue;
      if (panel.paint != Paint::kGlass && panel.paint != Paint::kLight) continue;
      if (std::fabs(polygon.outward.x) > 0.5) {
        view.map = polygon.outward.x < 0 ? UvMap::kSideLeft : UvMap::kSideRight;
      } else if (std::fabs(polygon.outward.y) > 0.5) {
        view.map = UvMap::kTop;
      } else {
        view.map = polygon.outward.z > 0 ? UvMap::kFront : UvMap::kRear;
      }
      const std::vector<PointF> pts = Project(view, s);
      image.fill_polygon(pts, kGlassRef);
      image.outline_polygon(pts, Gray(110));
    }
  }
  // The grille's slats: the gaps between them are transparent.
  for (const Panel& panel : CarPanels()) {
    if (panel.paint != Paint::kBodyOpacity) continue;
    const std::vector<PointF> pts = Project(panel.polygons.front(), s);
    double x0 = pts[0].x, x1 = pts[0].x, y0 = pts[0].y, y1 = pts[0].y;
    for (const PointF& p : pts) {
      x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y),
      y1 = std::max(y1, p.y);
    }
    for (int y = static_cast<int>(y0) + 2; y < static_cast<int>(y1) - 2; y += 6) {
      image.fill_rect(static_cast<int>(x0) + 2, y, static_cast<int>(x1) - 2, y + 3,
                      Rgba{0, 0, 0, 0});
    }
  }
  // Names of the panels.
  const int label = std::max(1, static_cast<int>(2 * s));
  auto name = [&](UvMap map, Vec3d p, std::string_view text) {
    PointF c = At(map, p);
    Label(image, {c.x * s, c.y * s}, text, label, kInk);
  };
  for (UvMap side : {UvMap::kSideLeft, UvMap::kSideRight}) {
    const double x = side == UvMap::kSideLeft ? -85 : 85;
    name(side, {x, 60, 15}, "DOOR");
    name(side, {x, 60, 140}, "FRONT WING");
    name(side, {x, 60, -120}, "REAR WING");
    name(side, {x, 115, -5}, "WINDOWS");
  }
  name(UvMap::kTop, {0, 135, -10}, "ROOF");
  name(UvMap::kTop, {0, 95, 150}, "BONNET");
  name(UvMap::kTop, {0, 95, -162}, "BOOT");
  name(UvMap::kTop, {0, 95, 75}, "WINDSCREEN");
  name(UvMap::kTop, {0, 95, -95}, "REAR WINDOW");
  name(UvMap::kFront, {0, 44, 195}, "GRILLE");
  name(UvMap::kFront, {60, 88, 195}, "HEADLAMPS");
  name(UvMap::kRear, {-60, 66, -197}, "TAIL LAMPS");
  name(UvMap::kRear, {0, 58, -197}, "REAR PANEL");
  // Tread blocks on the tyre strip, a hub on the rim.
  for (int x = static_cast<int>(kTyreRect.u0) + 4; x < static_cast<int>(kTyreRect.u1) - 6;
       x += 12) {
    image.fill_rect(static_cast<int>(x * s), static_cast<int>((kTyreRect.v0 + 36) * s),
                    static_cast<int>((x + 6) * s), static_cast<int>((kTyreRect.v1 - 4) * s),
                    Gray(70));
  }
  image.fill_circle((kRimRect.u0 + kRimRect.u1) / 2 * s, (kRimRect.v0 + kRimRect.v1) / 2 * s,
                    14 * s, Gray(120));
  return image;
}

// The car seen from its left side, fitted into [x0, x0 + w) x [y0, y0 + h)
// with its front to the right, on a transparent background.
void DrawCarSide(Image& image, double x0, double y0, double w, double h) {
  const double min_z = -215, max_z = 215, max_y = 145;
  const double scale = std::min(w / (max_z - min_z), h / max_y);
  const double ox = x0 + (w - (max_z - min_z) * scale) / 2;
  const double oy = y0 + (h + max_y * scale) / 2;  // the ground line
  auto at = [&](double z, double y) { return PointF{ox + (z - min_z) * scale, oy - y * scale}; };
  std::vector<PointF> body;
  for (const auto& [z, y] : SideProfile()) body.push_back(at(z, y));
  image.fill_polygon(body, Rgba{70, 110, 190, 255});
  image.outline_polygon(body, Rgba{20, 30, 60, 255});
  const std::vector<PointF> glass = {at(96, 96), at(44, 131), at(-63, 131), at(-120, 96)};
  image.fill_polygon(glass, Rgba{40, 50, 70, 255});
  image.line(at(-35, 25).x, at(-35, 25).y, at(-35, 131).x, at(-35, 131).y, Rgba{20, 30, 60, 255});
  image.line(at(65, 25).x, at(65, 25).y, at(65, 95).x, at(65, 95).y, Rgba{20, 30, 60, 255});
  image.fill_rect(static_cast<int>(at(196, 78).x) - 2, static_cast<int>(at(196, 78).y),
                  static_cast<int>(at(196, 78).x) + 1, static_cast<int>(at(196, 64).y),
                  Rgba{250, 240, 200, 255});
  image.fill_rect(static_cast<int>(at(-200, 88).x), static_cast<int>(at(-200, 88).y),
                  static_cast<int>(at(-200, 88).x) + 2, static_cast<int>(at(-200, 72).y),
                  Rgba{200, 30, 30, 255});
  for (double axle : {kFrontAxleZ, kRearAxleZ}) {
    const PointF c = at(axle, kWheelCentreY);
    image.fill_circle(c.x, c.y, kWheelRadius * scale, Rgba{25, 25, 25, 255});
    image.fill_circle(c.x, c.y, kWheelRadius * scale * 0.6, Rgba{180, 184, 190, 255});
  }
}

Image DrawBlob(int size) {
  Image image(size, size);
  const double c = size / 2.0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      // A rounded box seen from above: the car's shadow, darkest beneath it.
      const double dx = std::fabs(x + 0.5 - c) / (c * 0.55);
      const double dy = std::fabs(y + 0.5 - c) / (c * 0.9);
      const double d = std::pow(std::pow(dx, 4) + std::pow(dy, 4), 0.25);
      const double t = std::clamp((d - 0.6) / 0.5, 0.0, 1.0);
      image.set(x, y, Gray(50 + 205 * t * t * (3 - 2 * t)));
    }
  }
  return image;
}

// Dirt: coarse noise, heavier towards the bottom of each side region of the
// body texture (the sills and wheel arches) and at the edges of glass.
Image DrawDirt(int size, std::uint32_t seed, bool body, bool with_alpha) {
  Image image(size, size);
  const double s = kBodyTextureSize / size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double n = 0.6 * value_noise(x, y, size / 16.0, seed) +
                       0.4 * value_noise(x, y, size / 64.0, seed + 1);
      double weight = 0.35;
      if (body) {
        for (const TexRect& r : {kSideLeftRect, kSideRightRect}) {
          const double u = x * s, v = y * s;
          if (u >= r.u0 && u < r.u1 && v >= r.v0 && v < r.v1) {
            weight = 0.2 + 0.9 * (v - r.v0) / (r.v1 - r.v0);
          }
        }
      } else {
        const double edge = std::min({x, y, size - 1 - x, size - 1 - y}) / (size / 2.0);
        weight = 0.25 + 0.75 * (1 - edge) * (0.4 + 0.6 * y / size);
      }
      const double dirt = std::clamp(n * weight * 1.4, 0.0, 1.0);
      if (with_alpha) {
        image.set(x, y, Rgba{112, 92, 64, Clamp8(dirt * 255)});
      } else {
        image.set(x, y, Gray(dirt * 255));
      }
    }
  }
  return image;
}

Image DrawGlass(int size) {
  Image image(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      // Tinted glass with two soft diagonal reflections.
      const double d = std::fmod((x + y) / static_cast<double>(size), 1.0);
      const double streak =
          std::exp(-std::pow((d - 0.35) * 12, 2)) + 0.6 * std::exp(-std::pow((d - 0.55) * 20, 2));
      image.set(x, y,
                Rgba{Clamp8(30 + 180 * streak), Clamp8(40 + 180 * streak),
                     Clamp8(52 + 170 * streak), Clamp8(120 + 100 * streak)});
    }
  }
  return image;
}

// Cracks radiating from a few impact points, with rings around them.
Image DrawCracks(int size, std::uint32_t seed, bool alpha_only) {
  const Rgba clear = alpha_only ? Rgba{255, 255, 255, 0} : Rgba{0, 0, 0, 255};
  const Rgba crack = Rgba{255, 255, 255, 255};
  Image image(size, size, clear);
  const int impacts = 3;
  for (int i = 0; i < impacts; ++i) {
    const double cx = size * (0.2 + 0.6 * hash_noise(i, 0, seed));
    const double cy = size * (0.2 + 0.6 * hash_noise(i, 1, seed));
    const int rays = 9 + static_cast<int>(hash_noise(i, 2, seed) * 5);
    for (int r = 0; r < rays; ++r) {
      double angle = 2 * std::numbers::pi * (r + hash_noise(i, 10 + r, seed)) / rays;
      double x = cx, y = cy;
      const double length = size * (0.25 + 0.35 * hash_noise(i, 40 + r, seed));
      const int steps = 8;
      for (int k = 0; k < steps; ++k) {
        angle += (hash_noise(i * 100 + r, k, seed) - 0.5) * 0.5;
        const double nx = x + std::cos(angle) * length / steps;
        const double ny = y + std::sin(angle) * length / steps;
        image.line(x, y, nx, ny, crack);
        image.line(x + 1, y, nx + 1, ny, crack);
        x = nx, y = ny;
      }
    }
    for (int ring = 1; ring <= 2; ++ring) {
      const double radius = size * 0.05 * ring;
      std::vector<PointF> pts;
      for (int k = 0; k < 24; ++k) {
        const double a = 2 * std::numbers::pi * k / 24;
        const double wobble = 1 + 0.15 * (hash_noise(i * 10 + ring, k, seed) - 0.5);
        pts.push_back({cx + std::cos(a) * radius * wobble, cy + std::sin(a) * radius * wobble});
      }
      image.outline_polygon(pts, crack);
    }
  }
  return image;
}

// Head lamp on the left half (a chrome reflector with rings), tail lamp on
// the right half (red cells).
Image DrawLight(int size) {
  Image image(size, size);
  const int half = size / 2;
  const double cx = half / 2.0, cy = size / 2.0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < half; ++x) {
      const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / (half / 2.0);
      const double ring = 0.5 + 0.5 * std::cos(r * 18);
      const double v = r < 0.25 ? 250 : 150 + 80 * ring * (1 - std::min(r, 1.0) * 0.5);
      image.set(x, y, Gray(v));
    }
    for (int x = half; x < size; ++x) {
      const int cell = size / 16;
      const int lx = (x - half) % cell, ly = y % cell;
      const bool edge = lx == 0 || ly == 0;
      image.set(x, y,
                edge ? Rgba{120, 10, 10, 255}
                     : Rgba{Clamp8(200 + 40 * hash_noise(x / cell, y / cell, 7)), 24, 20, 255});
    }
  }
  return image;
}

Image DrawLightMask(int size) {
  Image image(size, size, Rgba{0, 0, 0, 255});
  image.fill_circle(size / 4.0, size / 2.0, size / 5.0, Rgba{255, 255, 255, 255});
  image.fill_rect(size / 2 + size / 16, size / 8, size - size / 16, size - size / 8,
                  Rgba{255, 255, 255, 255});
  return image;
}

Image DrawSilhouette(const TextureSpec& entry) {
  Image image(entry.width, entry.height, Rgba{0, 0, 0, 0});
  if (entry.name == "ICON") {
    // The icon's visible rectangle is 80 x 84 at the top left.
    DrawCarSide(image, 2, 2, 76, 80);
  } else {
    DrawCarSide(image, 8, 8, entry.width - 16, entry.height - 16);
  }
  return image;
}

}  // namespace

const std::vector<TextureSpec>& TextureCatalogue() {
  static const std::vector<TextureSpec> kCatalogue = {
      {"BLOB", 64, 64, 7, DdsFormat::kR5G6B5},
      {"BODY", 1024, 1024, 11, DdsFormat::kDxt3},
      {"BODYDIRTMASK", 512, 512, 10, DdsFormat::kA4R4G4B4},
      {"BODYDIRTMASKGF2", 512, 512, 10, DdsFormat::kDxt3},
      {"EMPTY", 16, 16, 0, DdsFormat::kDxt3},
      {"EMPTYNORMALS", 16, 16, 0, DdsFormat::kDxt3},
      {"GLASS", 512, 512, 10, DdsFormat::kDxt3},
      {"GLASSBROKENMASK", 512, 512, 10, DdsFormat::kDxt1},
      {"GLASSDIRTMASK", 256, 256, 9, DdsFormat::kR5G6B5},
      {"GLASSDIRTMASKGF2", 256, 256, 9, DdsFormat::kDxt3},
      {"ICON", 128, 128, 0, DdsFormat::kA4R4G4B4},
      {"LIGHT", 256, 256, 9, DdsFormat::kDxt3},
      {"LIGHTBROKENMASK", 256, 256, 9, DdsFormat::kDxt3},
      {"LIGHTDIRTMASK", 128, 128, 8, DdsFormat::kR5G6B5},
      {"LIGHTDIRTMASKGF2", 128, 128, 8, DdsFormat::kDxt3},
      {"LIGHTMASK", 128, 128, 8, DdsFormat::kDxt1},
      {"VIS", 512, 256, 0, DdsFormat::kA4R4G4B4},
  };
  return kCatalogue;
}

Image DrawTexture(const TextureSpec& entry) {
  const std::string& n = entry.name;
  if (n == "BLOB") return DrawBlob(entry.width);
  if (n == "BODY") return DrawBodyGuide(entry.width);
  if (n == "BODYDIRTMASK") return DrawDirt(entry.width, 11, true, true);
  if (n == "BODYDIRTMASKGF2") return DrawDirt(entry.width, 11, true, true);
  if (n == "EMPTY") return Image(entry.width, entry.height, Rgba{0, 0, 0, 0});
  if (n == "EMPTYNORMALS") return Image(entry.width, entry.height, Rgba{128, 128, 255, 255});
  if (n == "GLASS") return DrawGlass(entry.width);
  if (n == "GLASSBROKENMASK") return DrawCracks(entry.width, 23, false);
  if (n == "GLASSDIRTMASK") return DrawDirt(entry.width, 31, false, false);
  if (n == "GLASSDIRTMASKGF2") return DrawDirt(entry.width, 31, false, true);
  if (n == "LIGHT") return DrawLight(entry.width);
  if (n == "LIGHTBROKENMASK") return DrawCracks(entry.width, 41, true);
  if (n == "LIGHTDIRTMASK") return DrawDirt(entry.width, 51, false, false);
  if (n == "LIGHTDIRTMASKGF2") return DrawDirt(entry.width, 51, false, true);
  if (n == "LIGHTMASK") return DrawLightMask(entry.width);
  return DrawSilhouette(entry);  // ICON, VIS
}

std::string MakeTextureFile(const TextureSpec& entry) {
  return MakeDds(DrawTexture(entry), entry.format, entry.mip_levels);
}

}  // namespace assetgen
