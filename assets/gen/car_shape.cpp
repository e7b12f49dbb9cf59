#include "car_shape.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>

namespace assetgen {
namespace {

// Car-space extents of the projections used by the side, top, front and rear
// regions of the body texture.
constexpr double kMinZ = -210, kMaxZ = 210;
constexpr double kMinY = -5, kMaxY = 145;
constexpr double kMinX = -95, kMaxX = 95;

Polygon Poly(std::vector<Vec3d> points, Vec3d outward, UvMap map, TexRect rect = {}) {
  return Polygon{std::move(points), outward, map, rect};
}

// A point on the left side given as (z, y) at x.
Vec3d L(double z, double y, double x = -85) {
  return Vec3d{x, y, z};
}

Polygon MirrorX(const Polygon& polygon) {
  Polygon out = polygon;
  for (Vec3d& p : out.points) p.x = -p.x;
  out.outward.x = -out.outward.x;
  if (polygon.map == UvMap::kSideLeft) out.map = UvMap::kSideRight;
  return out;
}

// The six faces of an axis-aligned box, each stretched over `rect`.
std::vector<Polygon> LocalBox(Vec3d lo, Vec3d hi, TexRect rect) {
  return {
      Poly({{lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}},
           {0, 0, 1}, UvMap::kLocal, rect),
      Poly({{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}},
           {0, 0, -1}, UvMap::kLocal, rect),
      Poly({{lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {lo.x, lo.y, hi.z}},
           {-1, 0, 0}, UvMap::kLocal, rect),
      Poly({{hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}},
           {1, 0, 0}, UvMap::kLocal, rect),
      Poly({{lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}},
           {0, 1, 0}, UvMap::kLocal, rect),
      Poly({{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}},
           {0, -1, 0}, UvMap::kLocal, rect),
  };
}

// A cylinder along z (an exhaust pipe), `segments` sides.
std::vector<Polygon> PipeZ(double cx, double cy, double r, double z0, double z1, int segments,
                           TexRect rect) {
  std::vector<Polygon> out;
  const double step = 2 * std::numbers::pi / segments;
  for (int i = 0; i < segments; ++i) {
    const double a0 = i * step, a1 = (i + 1) * step, am = (i + 0.5) * step;
    out.push_back(Poly({{cx + r * std::cos(a0), cy + r * std::sin(a0), z0},
                        {cx + r * std::cos(a1), cy + r * std::sin(a1), z0},
                        {cx + r * std::cos(a1), cy + r * std::sin(a1), z1},
                        {cx + r * std::cos(a0), cy + r * std::sin(a0), z1}},
                       {std::cos(am), std::sin(am), 0}, UvMap::kLocal, rect));
  }
  return out;
}

TexRect Whole() {
  return TexRect{0, 0, kBodyTextureSize, kBodyTextureSize};
}
// The left and right halves of the light texture: head lamps and tail lamps.
TexRect HeadLamp() {
  return TexRect{0, 0, kBodyTextureSize / 2, kBodyTextureSize};
}
TexRect TailLamp() {
  return TexRect{kBodyTextureSize / 2, 0, kBodyTextureSize, kBodyTextureSize};
}

std::vector<Panel> MakeCarPanels() {
  std::vector<Panel> panels;
  const Vec3d left{-1, 0, 0}, up{0, 1, 0}, front{0, 0, 1}, rear{0, 0, -1}, down{0, -1, 0};

  // The body shell: fenders, pillars, roof, boot lid, front and rear faces.
  Panel body{"Body", "", Paint::kBodyReflection, {}, 0, ""};
  const Polygon front_fender =
      Poly({L(65, 25), L(195, 30), L(195, 82), L(100, 95), L(65, 95)}, left, UvMap::kSideLeft);
  const Polygon rear_quarter =
      Poly({L(-35, 25), L(-35, 95), L(-197, 95), L(-197, 30)}, left, UvMap::kSideLeft);
  const Polygon a_pillar =
      Poly({L(65, 95, -82), L(100, 95, -82), L(45, 135, -68)}, left, UvMap::kSideLeft);
  const Polygon c_pillar =
      Poly({L(-125, 95, -82), L(-110, 95, -82), L(-65, 135, -68)}, left, UvMap::kSideLeft);
  for (const Polygon& p : {front_fender, rear_quarter, a_pillar, c_pillar}) {
    body.polygons.push_back(p);
    body.polygons.push_back(MirrorX(p));
  }
  body.polygons.push_back(
      Poly({{-68, 135, -65}, {68, 135, -65}, {68, 135, 45}, {-68, 135, 45}}, up, UvMap::kTop));
  body.polygons.push_back(
      Poly({{-82, 95, -197}, {82, 95, -197}, {82, 95, -125}, {-82, 95, -125}}, up, UvMap::kTop));
  body.polygons.push_back(
      Poly({{-85, 48, 195}, {85, 48, 195}, {85, 82, 195}, {-85, 82, 195}}, front, UvMap::kFront));
  body.polygons.push_back(
      Poly({{-85, 48, -197}, {85, 48, -197}, {85, 95, -197}, {-85, 95, -197}}, rear, UvMap::kRear));
  panels.push_back(body);

  Panel under{"Underbody", "", Paint::kBody, {}, 0, ""};
  under.polygons.push_back(Poly({{-85, 25, -197}, {85, 25, -197}, {85, 25, 195}, {-85, 25, 195}},
                                down, UvMap::kLocal, kUnderRect));
  panels.push_back(under);

  Panel grille{"Grille", "", Paint::kBodyOpacity, {}, 0, ""};
  grille.polygons.push_back(
      Poly({{-35, 52, 195.5}, {35, 52, 195.5}, {35, 70, 195.5}, {-35, 70, 195.5}}, front,
           UvMap::kFront));
  panels.push_back(grille);

  // Glass.
  panels.push_back(Panel{"WindowFront",
                         "",
                         Paint::kGlass,
                         {Poly({{-80, 95, 100}, {80, 95, 100}, {68, 135, 45}, {-68, 135, 45}}, up,
                               UvMap::kLocal, Whole())},
                         0,
                         ""});
  panels.push_back(Panel{"WindowRear",
                         "",
                         Paint::kGlass,
                         {Poly({{-68, 135, -65}, {68, 135, -65}, {80, 95, -125}, {-80, 95, -125}},
                               up, UvMap::kLocal, Whole())},
                         0,
                         ""});
  const Polygon rear_side_window =
      Poly({L(-110, 95, -82), L(-35, 95, -82), L(-35, 135, -68), L(-65, 135, -68)}, left,
           UvMap::kLocal, Whole());
  panels.push_back(Panel{"WindowRL", "", Paint::kGlass, {rear_side_window}, 0, ""});
  panels.push_back(Panel{"WindowRR", "", Paint::kGlass, {MirrorX(rear_side_window)}, 0, ""});

  // Lamps: the reflectors and, in front, the glass over them.
  const Polygon head_lamp =
      Poly({{-80, 64, 195.3}, {-48, 64, 195.3}, {-48, 78, 195.3}, {-80, 78, 195.3}}, front,
           UvMap::kLocal, HeadLamp());
  Polygon head_glass = head_lamp;
  for (Vec3d& p : head_glass.points) p.z = 196.5;
  head_glass.rect = Whole();
  const Polygon tail_lamp =
      Poly({{-80, 72, -197.3}, {-52, 72, -197.3}, {-52, 88, -197.3}, {-80, 88, -197.3}}, rear,
           UvMap::kLocal, TailLamp());
  const Polygon reverse_lamp =
      Poly({{-50, 72, -197.3}, {-40, 72, -197.3}, {-40, 88, -197.3}, {-50, 88, -197.3}}, rear,
           UvMap::kLocal, HeadLamp());
  panels.push_back(Panel{"ReflectorFL", "", Paint::kLight, {head_lamp}, 0, ""});
  panels.push_back(Panel{"ReflectorFrontLeft", "", Paint::kGlass, {head_glass}, 0, ""});
  panels.push_back(Panel{"ReflectorFR", "", Paint::kLight, {MirrorX(head_lamp)}, 0, ""});
  panels.push_back(Panel{"ReflectorFrontRight", "", Paint::kGlass, {MirrorX(head_glass)}, 0, ""});
  panels.push_back(Panel{"ReflectorGlassRL", "", Paint::kLight, {tail_lamp}, 0, ""});
  panels.push_back(Panel{"ReflectorRL", "", Paint::kLight, {reverse_lamp}, 0, ""});
  panels.push_back(Panel{"ReflectorGlassRR", "", Paint::kLight, {MirrorX(tail_lamp)}, 0, ""});
  panels.push_back(Panel{"ReflectorRR", "", Paint::kLight, {MirrorX(reverse_lamp)}, 0, ""});

  // Separate parts.
  panels.push_back(
      Panel{"Bonnet",
            "BONNET",
            Paint::kBodyReflection,
            {Poly({{-83, 82, 195}, {83, 82, 195}, {80, 95, 100}, {-80, 95, 100}}, up, UvMap::kTop)},
            kBonnetBit,
            "BONNET"});
  {
    Panel spoiler{"Spoiler", "SPOILER", Paint::kBodyReflection, {}, kSpoilerBit, "SPOILER"};
    for (const Polygon& p : LocalBox({-75, 110, -195}, {75, 114, -170}, kSpoilerRect)) {
      spoiler.polygons.push_back(p);
    }
    for (double x : {-58.0, 52.0}) {
      for (const Polygon& p : LocalBox({x, 95, -185}, {x + 6, 110, -180}, kSpoilerRect)) {
        spoiler.polygons.push_back(p);
      }
    }
    panels.push_back(spoiler);
  }
  panels.push_back(Panel{"BumperF", "BUMPER F", Paint::kBodyReflection,
                         LocalBox({-86, 25, 188}, {86, 48, 202}, kBumperFRect), kBumpersBit,
                         "BUMPERF"});
  panels.push_back(Panel{"BumperR", "BUMPER R", Paint::kBodyReflection,
                         LocalBox({-86, 25, -204}, {86, 48, -190}, kBumperRRect), kBumpersBit,
                         "BUMPERR"});
  const Polygon door = Poly({L(-35, 25), L(65, 25), L(65, 95), L(-35, 95)}, left, UvMap::kSideLeft);
  const Polygon door_window =
      Poly({L(-35, 95, -82), L(65, 95, -82), L(45, 135, -68), L(-35, 135, -68)}, left,
           UvMap::kLocal, Whole());
  panels.push_back(Panel{"DoorL", "DOOR", Paint::kBodyReflection, {door}, kDoorsBit, "DOORL"});
  panels.push_back(Panel{"WindowDoorL", "", Paint::kGlass, {door_window}, kDoorsBit, "DOORL"});
  panels.push_back(
      Panel{"DoorR", "DOOR", Paint::kBodyReflection, {MirrorX(door)}, kDoorsBit, "DOORR"});
  panels.push_back(
      Panel{"WindowDoorR", "", Paint::kGlass, {MirrorX(door_window)}, kDoorsBit, "DOORR"});
  panels.push_back(Panel{"Exhaust", "", Paint::kBody, PipeZ(55, 30, 4, -207, -185, 8, kUnderRect),
                         kExhaustBit, "EXHAUST"});
  return panels;
}

std::vector<Panel> MakeAnimatedPanels() {
  std::vector<Panel> panels;
  panels.push_back(Panel{"AntennaF", "", Paint::kBody,
                         LocalBox({-0.4, 0, -0.4}, {0.4, 70, 0.4}, kUnderRect), 0, "ANTENNAF"});
  for (const char* side : {"L", "R"}) {
    Panel wiper{std::string("Wiper") + side, "", Paint::kBody, {}, 0, std::string("WIPER") + side};
    for (const Polygon& p : LocalBox({0, 0, -1}, {40, 1.2, 1}, kUnderRect)) {
      wiper.polygons.push_back(p);
    }
    for (const Polygon& p : LocalBox({4, 0.6, -1.5}, {40, 1.8, 0}, kUnderRect)) {
      wiper.polygons.push_back(p);
    }
    panels.push_back(wiper);
  }
  return panels;
}

}  // namespace

const std::vector<Panel>& CarPanels() {
  static const std::vector<Panel> kPanels = MakeCarPanels();
  return kPanels;
}

const std::vector<Panel>& AnimatedPartPanels() {
  static const std::vector<Panel> kPanels = MakeAnimatedPanels();
  return kPanels;
}

const std::vector<Dummy>& CarDummies() {
  static const std::vector<Dummy> kDummies = {
      {"DExhaust", {55, 30, -185}}, {"DBonnet", {0, 95, 100}},     {"DSpoiler", {0, 95, -182}},
      {"DBumperF", {0, 36, 188}},   {"DBumperR", {0, 36, -190}},   {"DDoorL", {-85, 25, 65}},
      {"DDoorR", {85, 25, 65}},     {"DAntennaF", {-70, 88, 150}}, {"DWiperL", {-40, 96, 102}},
      {"DWiperR", {10, 96, 102}},
  };
  return kDummies;
}

const Dummy& DummyOfPart(std::string_view part_resource) {
  static const std::pair<std::string_view, std::string_view> kMounts[] = {
      {"EXHAUST", "DExhaust"}, {"EXHAUSTDUMMY", "DExhaust"}, {"BONNET", "DBonnet"},
      {"SPOILER", "DSpoiler"}, {"BUMPERF", "DBumperF"},      {"BUMPERR", "DBumperR"},
      {"DOORL", "DDoorL"},     {"DOORR", "DDoorR"},          {"ANTENNAF", "DAntennaF"},
      {"WIPERL", "DWiperL"},   {"WIPERR", "DWiperR"},
  };
  for (const auto& [part, dummy] : kMounts) {
    if (part == part_resource) {
      for (const Dummy& d : CarDummies()) {
        if (d.node == dummy) return d;
      }
    }
  }
  assert(false && "unknown part resource");
  return CarDummies().front();
}

void MapUv(const Polygon& polygon, const Vec3d& p, const Vec3d& lo, const Vec3d& hi, double& u,
           double& v) {
  auto lerp = [](double a, double b, double t) { return a + (b - a) * t; };
  auto frac = [](double x, double a, double b) { return b != a ? (x - a) / (b - a) : 0.0; };
  switch (polygon.map) {
    case UvMap::kSideLeft:
      u = lerp(kSideLeftRect.u0, kSideLeftRect.u1, frac(p.z, kMaxZ, kMinZ));
      v = lerp(kSideLeftRect.v0, kSideLeftRect.v1, frac(p.y, kMaxY, kMinY));
      return;
    case UvMap::kSideRight:
      u = lerp(kSideRightRect.u0, kSideRightRect.u1, frac(p.z, kMinZ, kMaxZ));
      v = lerp(kSideRightRect.v0, kSideRightRect.v1, frac(p.y, kMaxY, kMinY));
      return;
    case UvMap::kTop:
      u = lerp(kTopRect.u0, kTopRect.u1, frac(p.z, kMaxZ, kMinZ));
      v = lerp(kTopRect.v0, kTopRect.v1, frac(p.x, kMinX, kMaxX));
      return;
    case UvMap::kFront:
      u = lerp(kFrontRect.u0, kFrontRect.u1, frac(p.x, kMaxX, kMinX));
      v = lerp(kFrontRect.v0, kFrontRect.v1, frac(p.y, kMaxY - 40, kMinY + 20));
      return;
    case UvMap::kRear:
      u = lerp(kRearRect.u0, kRearRect.u1, frac(p.x, kMinX, kMaxX));
      v = lerp(kRearRect.v0, kRearRect.v1, frac(p.y, kMaxY - 40, kMinY + 20));
      return;
    case UvMap::kLocal:
      break;
  }
  // Stretch the polygon's box over the rectangle, using the two axes in which
  // the polygon is widest (its plane's own axes for axis-aligned faces).
  const double ext[3] = {hi.x - lo.x, hi.y - lo.y, hi.z - lo.z};
  const double val[3] = {p.x, p.y, p.z};
  const double low[3] = {lo.x, lo.y, lo.z};
  int a = 0, b = 1;
  const int smallest = (ext[0] <= ext[1] && ext[0] <= ext[2]) ? 0 : (ext[1] <= ext[2] ? 1 : 2);
  if (smallest == 0) a = 2, b = 1;
  if (smallest == 1) a = 0, b = 2;
  if (smallest == 2) a = 0, b = 1;
  u = lerp(polygon.rect.u0, polygon.rect.u1, ext[a] > 0 ? (val[a] - low[a]) / ext[a] : 0.0);
  v = lerp(polygon.rect.v1, polygon.rect.v0, ext[b] > 0 ? (val[b] - low[b]) / ext[b] : 0.0);
}

std::vector<std::pair<double, double>> SideProfile() {
  return {{200, 45},  {198, 70},  {192, 82},  {100, 95},  {45, 135},  {-65, 135},
          {-125, 95}, {-197, 95}, {-204, 75}, {-204, 30}, {-197, 22}, {-161, 22},
          {-161, 40}, {-130, 62}, {-99, 40},  {-99, 22},  {99, 22},   {99, 40},
          {130, 62},  {161, 40},  {161, 22},  {195, 22},  {202, 30}};
}

const std::vector<WheelType>& WheelTypes() {
  static const std::vector<WheelType> kTypes = {
      {"WHEEL_CONTACTSPORT", 31, 20, 24, 0.6},
      {"WHEEL_FULLGRIP356", 31, 21, 28, 0.8},
      {"WHEEL_GRAVEL", 32, 19, 20, 1.5},
      {"WHEEL_HYPERGRIP200", 31, 22, 30, 0.5},
      {"WHEEL_ICE", 31.5, 17, 16, 1.2},
      {"WHEEL_INTERMEDIATE", 31, 21, 22, 0.9},
      {"WHEEL_MUD", 33, 18, 12, 2.5},
      {"WHEEL_PROSPORT400S", 31, 23, 32, 0.4},
      {"WHEEL_PROSPORTWINTER", 31.5, 19, 26, 1.2},
      {"WHEEL_SLICK", 31, 24, 0, 0},
      {"WHEEL_SNOW", 32, 18, 14, 2.0},
      {"WHEEL_WET", 31, 21, 18, 1.0},
      {"WHEEL_WINTEREVO3", 31.5, 20, 24, 1.3},
  };
  return kTypes;
}

}  // namespace assetgen
