// The generic car: its panels, mounting dummies and wheel types, and where
// each panel lies on the body texture. Meshes and the painting guide are both
// made from this one description, so the texture always shows where each
// panel of the mesh samples it.
//
// Car space is the model's space: x to the car's right, y up, z forward, in
// centimetres; the car stands on y = 0 with its centre at x = z = 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace assetgen {

struct Vec3d {
  double x = 0, y = 0, z = 0;
};

// A rectangle on the 1024 x 1024 body texture, in pixels.
struct TexRect {
  double u0, v0, u1, v1;
};

// How a polygon's vertices get their texture coordinates.
enum class UvMap {
  kSideLeft,   // seen from the left: z to u (front on the left), y to v
  kSideRight,  // seen from the right: z to u (front on the right), y to v
  kTop,        // seen from above: z to u (front on the left), x to v
  kFront,      // seen from the front: x to u (car's right on the left), y to v
  kRear,       // seen from behind: x to u, y to v
  kLocal,      // the polygon's own bounding box stretched over `rect`
};

// The body texture regions of the painting guide.
inline constexpr TexRect kSideLeftRect{16, 16, 1008, 208};
inline constexpr TexRect kSideRightRect{16, 224, 1008, 416};
inline constexpr TexRect kTopRect{16, 432, 1008, 656};
inline constexpr TexRect kFrontRect{16, 672, 504, 856};
inline constexpr TexRect kRearRect{520, 672, 1008, 856};
inline constexpr TexRect kBumperFRect{16, 872, 504, 944};
inline constexpr TexRect kBumperRRect{520, 872, 1008, 944};
inline constexpr TexRect kUnderRect{16, 960, 256, 1008};
inline constexpr TexRect kSpoilerRect{264, 960, 504, 1008};
inline constexpr TexRect kTyreRect{512, 960, 760, 1008};
inline constexpr TexRect kRimRect{768, 960, 1008, 1008};
inline constexpr double kBodyTextureSize = 1024;

// The material families a surface can use (the mesh names them by level of
// detail: "TMP1_Body.mat", "TMP1_Body_1.mat", ...).
enum class Paint { kBody, kBodyReflection, kBodyOpacity, kGlass, kLight };

// Separate parts: the bits of the car's part choice.
inline constexpr unsigned kExhaustBit = 1, kBonnetBit = 2, kSpoilerBit = 4, kBumpersBit = 8,
                          kDoorsBit = 16;

struct Polygon {
  std::vector<Vec3d> points;  // convex and planar, any winding
  Vec3d outward;              // a direction the visible side faces
  UvMap map = UvMap::kLocal;
  TexRect rect{};  // for kLocal: the target rectangle (body texture pixels or, for
                   // glass and lights, their own texture scaled to 1024)
};

// One mesh node of the car (without its level-of-detail postfix).
struct Panel {
  std::string node;   // e.g. "Bonnet"
  std::string label;  // name on the painting guide, empty when not painted there
  Paint paint;
  std::vector<Polygon> polygons;
  unsigned part_bit = 0;      // the separate part it belongs to, 0 = always body
  std::string part_resource;  // the MESHES resource of that part ("BONNET" ...)
};

struct Dummy {
  std::string node;  // e.g. "DBonnet"
  Vec3d position;
};

// Every panel of the body and its separate parts.
const std::vector<Panel>& CarPanels();

// The panels of the animated parts, which are never part of the body:
// ANTENNAF, WIPERL, WIPERR (in their dummy's space already).
const std::vector<Panel>& AnimatedPartPanels();

// The mounting dummies, in car space.
const std::vector<Dummy>& CarDummies();

// The dummy a separate-part resource mounts on ("BONNET" -> "DBonnet").
const Dummy& DummyOfPart(std::string_view part_resource);

// The collision hull box of the body.
inline constexpr Vec3d kHullMin{-85, 20, -200};
inline constexpr Vec3d kHullMax{85, 135, 200};

// Texture coordinates (body texture pixels) of `p` under the polygon's map;
// `bounds_min`/`bounds_max` are the polygon's bounding box (for kLocal).
void MapUv(const Polygon& polygon, const Vec3d& p, const Vec3d& bounds_min, const Vec3d& bounds_max,
           double& u, double& v);

// The side profile of the car (z, y) for silhouettes, front first, closed.
std::vector<std::pair<double, double>> SideProfile();

// Wheels: the axle positions (z) and the wheel radius used for silhouettes.
inline constexpr double kFrontAxleZ = 130, kRearAxleZ = -130, kWheelCentreY = 31, kWheelRadius = 31;

struct WheelType {
  std::string resource;  // "WHEEL_GRAVEL"
  double radius;         // tyre radius, cm
  double width;          // tyre width, cm
  int tread_blocks;      // tread blocks around the tyre; 0 = slick
  double tread_depth;    // cm
};

// The thirteen wheel types in wheel-type bit order.
const std::vector<WheelType>& WheelTypes();

}  // namespace assetgen
