#include "meshes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>

#include "car_shape.h"
#include "model3da/model.h"
#include "model3da/records.h"
#include "model3da/writer.h"

namespace assetgen {
namespace {

using model3da::MaterialRecord;
using model3da::NodeData;
using model3da::SurfaceData;
using model3da::Vec2;
using model3da::Vec3;

constexpr int kLevels = 3;  // levels of detail 0, 1, 2

Vec3d Sub(Vec3d a, Vec3d b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3d Cross(Vec3d a, Vec3d b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(Vec3d a, Vec3d b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3d Normalized(Vec3d v) {
  const double l = std::sqrt(Dot(v, v));
  return l > 0 ? Vec3d{v.x / l, v.y / l, v.z / l} : Vec3d{0, 1, 0};
}
Vec3 ToFile(Vec3d v) {
  return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

std::string LevelName(const std::string& base, int level) {
  return base + "_" + std::to_string(level);
}

// The material name and textures of a paint at a level of detail.
MaterialRecord PaintMaterial(Paint paint, int level) {
  MaterialRecord m;
  const std::string suffix = level == 0 ? "" : "_" + std::to_string(level);
  std::vector<std::string> textures;
  switch (paint) {
    case Paint::kBody:
      m.name = "TMP1_Body" + suffix + ".mat";
      textures = {"TMP1_Body.dds", "TMP_BodyDirtMask.dds", "TMP_BodyDirtMaskGF2.dds"};
      m.specular = {0.1f, 0.1f, 0.1f, 1};
      m.specularPower = 8;
      break;
    case Paint::kBodyReflection:
      m.name = "TMP1_BodyReflection" + suffix + ".mat";
      textures = {"TMP1_Body.dds", "TMP_BodyDirtMask.dds", "TMP_BodyDirtMaskGF2.dds",
                  "TMP_BodyNormals.dds"};
      m.specular = {0.6f, 0.6f, 0.6f, 1};
      m.specularPower = 40;
      break;
    case Paint::kBodyOpacity:
      m.name = "TMP1_BodyOpacity" + suffix + ".mat";
      textures = {"TMP1_Body.dds", "TMP_BodyDirtMask.dds", "TMP_BodyDirtMaskGF2.dds"};
      m.flags = 3;  // two-sided, alpha
      break;
    case Paint::kGlass:
      m.name = "TMP_GlassReflection" + suffix + ".mat";
      textures = {"TMP_Glass.dds", "TMP_GlassDirtMask.dds", "TMP_GlassDirtMaskGF2.dds"};
      m.specular = {0.9f, 0.9f, 0.9f, 1};
      m.specularPower = 80;
      m.flags = 3;
      break;
    case Paint::kLight:
      m.name = "TMP_Light" + suffix + ".mat";
      textures = {"TMP_Light.dds", "TMP_LightDirtMask.dds", "TMP_LightDirtMaskGF2.dds",
                  "TMP_LightMask.dds"};
      m.emissive = {0.2f, 0.2f, 0.2f, 1};
      break;
  }
  for (std::size_t i = 0; i < textures.size(); ++i) {
    m.textures[i] = textures[i];
    m.textureKinds[i] = 1;
  }
  m.textureCount = static_cast<int32_t>(textures.size());
  m.ambient = {1, 1, 1, 1};
  m.diffuse = {1, 1, 1, 1};
  if (m.specular[3] == 0) m.specular = {0, 0, 0, 1};
  if (m.emissive[3] == 0) m.emissive = {0, 0, 0, 1};
  return m;
}

// The material table of one file: entries in order of first use.
class MaterialTable {
 public:
  uint32_t index(Paint paint, int level) {
    const auto key = std::make_pair(static_cast<int>(paint), level);
    if (auto it = indices_.find(key); it != indices_.end()) return it->second;
    const auto i = static_cast<uint32_t>(records_.size());
    records_.push_back(PaintMaterial(paint, level));
    indices_[key] = i;
    return i;
  }
  const std::vector<MaterialRecord>& records() const { return records_; }

 private:
  std::map<std::pair<int, int>, uint32_t> indices_;
  std::vector<MaterialRecord> records_;
};

// Appends the polygon as a triangle fan with flat normals, facing its
// outward direction, counter-clockwise seen from outside.
void AppendPolygon(SurfaceData& s, const Polygon& polygon, Vec3d origin) {
  std::vector<Vec3d> pts = polygon.points;
  Vec3d normal{};
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const Vec3d& a = pts[i];
    const Vec3d& b = pts[(i + 1) % pts.size()];
    normal.x += (a.y - b.y) * (a.z + b.z);
    normal.y += (a.z - b.z) * (a.x + b.x);
    normal.z += (a.x - b.x) * (a.y + b.y);
  }
  if (Dot(normal, polygon.outward) < 0) {
    std::reverse(pts.begin(), pts.end());
    normal = {-normal.x, -normal.y, -normal.z};
  }
  normal = Normalized(normal);
  Vec3d lo = pts[0], hi = pts[0];
  for (const Vec3d& p : pts) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
  }
  std::vector<std::pair<double, double>> uvs;
  for (const Vec3d& p : pts) {
    double u = 0, v = 0;
    MapUv(polygon, p, lo, hi, u, v);
    uvs.emplace_back(u / kBodyTextureSize, v / kBodyTextureSize);
  }
  // Tangent: the direction in which u grows across the first triangle.
  Vec3d tangent{};
  {
    const Vec3d e1 = Sub(pts[1], pts[0]), e2 = Sub(pts[2], pts[0]);
    const double du1 = uvs[1].first - uvs[0].first, dv1 = uvs[1].second - uvs[0].second;
    const double du2 = uvs[2].first - uvs[0].first, dv2 = uvs[2].second - uvs[0].second;
    const double det = du1 * dv2 - du2 * dv1;
    if (std::fabs(det) > 1e-12) {
      tangent = Normalized({(e1.x * dv2 - e2.x * dv1) / det, (e1.y * dv2 - e2.y * dv1) / det,
                            (e1.z * dv2 - e2.z * dv1) / det});
    } else {
      tangent =
          Normalized(Cross(normal, std::fabs(normal.y) < 0.9 ? Vec3d{0, 1, 0} : Vec3d{1, 0, 0}));
    }
  }
  const auto first = static_cast<uint16_t>(s.positions.size());
  for (std::size_t i = 0; i < pts.size(); ++i) {
    s.positions.push_back(ToFile(Sub(pts[i], origin)));
    s.normals.push_back(ToFile(normal));
    s.tangents.push_back(ToFile(tangent));
    s.uv[0].push_back(Vec2{static_cast<float>(uvs[i].first), static_cast<float>(uvs[i].second)});
  }
  for (std::size_t i = 1; i + 1 < pts.size(); ++i) {
    s.list_indices.push_back(first);
    s.list_indices.push_back(static_cast<uint16_t>(first + i));
    s.list_indices.push_back(static_cast<uint16_t>(first + i + 1));
  }
}

void SetBounds(NodeData& node) {
  bool any = false;
  Vec3 lo{}, hi{};
  for (const SurfaceData& s : node.surfaces) {
    for (const Vec3& p : s.positions) {
      for (int k = 0; k < 3; ++k) {
        lo[k] = any ? std::min(lo[k], p[k]) : p[k];
        hi[k] = any ? std::max(hi[k], p[k]) : p[k];
      }
      any = true;
    }
  }
  node.box_min = lo;
  node.box_max = hi;
}

NodeData MeshNode(std::string name) {
  NodeData node;
  node.node_type = model3da::MESH_3DA;
  node.name = std::move(name);
  model3da::set_static_tracks(node, {0, 0, 0}, {0, 0, 0, 1}, {1, 1, 1});
  return node;
}

NodeData HelperNode(std::string name, Vec3d position) {
  NodeData node;
  node.node_type = model3da::HELPER_3DA;
  node.name = std::move(name);
  model3da::set_static_tracks(node, ToFile(position), {0, 0, 0, 1}, {1, 1, 1});
  return node;
}

// A panel at one level of detail, its points relative to `origin`.
NodeData PanelNode(const Panel& panel, int level, Vec3d origin, MaterialTable& materials) {
  NodeData node = MeshNode(LevelName(panel.node, level));
  SurfaceData surface;
  surface.material_index = materials.index(panel.paint, level);
  for (const Polygon& polygon : panel.polygons) AppendPolygon(surface, polygon, origin);
  node.surfaces.push_back(std::move(surface));
  SetBounds(node);
  return node;
}

NodeData HullNode() {
  NodeData node = MeshNode("CollisionHull_0");
  SurfaceData surface;  // no material: the hull is never drawn
  const Vec3d lo = kHullMin, hi = kHullMax;
  const Polygon faces[] = {
      {{{lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}}, {0, 0, 1}},
      {{{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}},
       {0, 0, -1}},
      {{{lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {lo.x, lo.y, hi.z}},
       {-1, 0, 0}},
      {{{hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}}, {1, 0, 0}},
      {{{lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}}, {0, 1, 0}},
      {{{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}},
       {0, -1, 0}},
  };
  for (const Polygon& face : faces) AppendPolygon(surface, face, {});
  node.surfaces.push_back(std::move(surface));
  SetBounds(node);
  return node;
}

// One wheel at a level of detail: the tyre (tread, shoulders, sidewalls) and
// the rim disc on both faces. The axle is the x axis, the outer face at +x.
NodeData WheelNode(const WheelType& type, int level, MaterialTable& materials) {
  NodeData node = MeshNode(LevelName("Wheel", level));
  const int blocks = level == 2 ? 0 : (level == 1 ? type.tread_blocks / 2 : type.tread_blocks);
  const int segments = blocks > 0 ? blocks * 2 : (level == 2 ? 12 : (level == 1 ? 16 : 32));
  const double r = type.radius, half = type.width / 2, rim = r * 0.62;
  auto radius_of = [&](int i) { return blocks > 0 && i % 2 == 1 ? r - type.tread_depth : r; };
  auto at = [](double x, double radius, double angle) {
    return Vec3d{x, radius * std::cos(angle), radius * std::sin(angle)};
  };
  SurfaceData tyre;
  tyre.material_index = materials.index(Paint::kBody, level);
  const double step = 2 * std::numbers::pi / segments;
  for (int i = 0; i < segments; ++i) {
    const double a0 = i * step, a1 = (i + 1) * step, am = (i + 0.5) * step;
    const double ri = radius_of(i), rn = radius_of((i + 1) % segments);
    const Vec3d out{0, std::cos(am), std::sin(am)};
    AppendPolygon(
        tyre,
        Polygon{{at(-half, ri, a0), at(half, ri, a0), at(half, ri, a1), at(-half, ri, a1)},
                out,
                UvMap::kLocal,
                kTyreRect},
        {});
    if (ri != rn) {  // the step between a block and a groove
      const double high = std::max(ri, rn), low = std::min(ri, rn);
      const Vec3d face{0, std::cos(a1 + std::numbers::pi / 2), std::sin(a1 + std::numbers::pi / 2)};
      AppendPolygon(
          tyre,
          Polygon{{at(-half, low, a1), at(half, low, a1), at(half, high, a1), at(-half, high, a1)},
                  ri > rn ? face : Vec3d{-face.x, -face.y, -face.z},
                  UvMap::kLocal,
                  kTyreRect},
          {});
    }
    for (double side : {-1.0, 1.0}) {
      AppendPolygon(tyre,
                    Polygon{{at(side * half, rim, a0), at(side * half, ri, a0),
                             at(side * half, ri, a1), at(side * half, rim, a1)},
                            {side, 0, 0},
                            UvMap::kLocal,
                            kTyreRect},
                    {});
    }
  }
  SurfaceData disc;
  disc.material_index = materials.index(Paint::kBodyReflection, level);
  for (double side : {-1.0, 1.0}) {
    Polygon face{{}, {side, 0, 0}, UvMap::kLocal, kRimRect};
    const int rim_segments = level == 0 ? 24 : 12;
    for (int i = 0; i < rim_segments; ++i) {
      face.points.push_back(at(side * (half - 2), rim, 2 * std::numbers::pi * i / rim_segments));
    }
    AppendPolygon(disc, face, {});
  }
  node.surfaces.push_back(std::move(tyre));
  node.surfaces.push_back(std::move(disc));
  SetBounds(node);
  return node;
}

bool Finish(const std::string& name, std::vector<NodeData>& nodes, const MaterialTable& materials,
            std::vector<BinaryAsset>& out, std::string& error) {
  model3da::ByteBuffer chain;
  for (const NodeData& node : nodes) {
    if (std::string e = model3da::append_node(chain, node); !e.empty()) {
      error = "mesh " + name + ", node " + node.name + ": " + e;
      return false;
    }
  }
  model3da::ModelWriteInput input;
  input.node_count = static_cast<uint32_t>(nodes.size());
  input.chain = chain.bytes();
  input.materials = materials.records();
  model3da::Bytes bytes;
  if (std::string e = model3da::make_model_file(input, bytes); !e.empty()) {
    error = "mesh " + name + ": " + e;
    return false;
  }
  std::string image(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (const auto stray = StrayTokenOffsets(image); !stray.empty()) {
    error = "mesh " + name + ": \"TMP\" at offset " + std::to_string(stray.front()) +
            " outside the material names";
    return false;
  }
  out.push_back({name, std::move(image)});
  return true;
}

bool MakeBody(unsigned cut, std::vector<BinaryAsset>& out, std::string& error) {
  MaterialTable materials;
  std::vector<NodeData> nodes;
  for (int level = 0; level < kLevels; ++level) {
    for (const Panel& panel : CarPanels()) {
      if (panel.part_bit != 0 && (cut & panel.part_bit) != 0) continue;
      nodes.push_back(PanelNode(panel, level, {}, materials));
    }
  }
  for (const Dummy& dummy : CarDummies()) {
    nodes.push_back(HelperNode(LevelName(dummy.node, 0), dummy.position));
  }
  nodes.push_back(HullNode());
  return Finish(std::to_string(100 + cut), nodes, materials, out, error);
}

// A separate part in the space of its mounting dummy. Animated parts are
// described in that space already (`in_car_space` false).
bool MakePart(const std::string& resource, const std::vector<Panel>& panels, bool in_car_space,
              std::vector<BinaryAsset>& out, std::string& error) {
  MaterialTable materials;
  std::vector<NodeData> nodes;
  const Vec3d origin = in_car_space ? DummyOfPart(resource).position : Vec3d{};
  for (int level = 0; level < kLevels; ++level) {
    for (const Panel& panel : panels) {
      if (panel.part_resource != resource) continue;
      nodes.push_back(PanelNode(panel, level, origin, materials));
    }
  }
  return Finish(resource, nodes, materials, out, error);
}

}  // namespace

std::vector<std::size_t> StrayTokenOffsets(const std::string& bytes) {
  std::vector<std::size_t> stray;
  auto u32_at = [&](std::size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  uint32_t table = 0, count = 0;
  if (bytes.size() >= model3da::kFileHeaderSize) {
    table = u32_at(16);  // materialTableOffset
    count = u32_at(20);  // materialCount
  }
  for (std::size_t at = bytes.find("TMP"); at != std::string::npos;
       at = bytes.find("TMP", at + 1)) {
    bool named = false;
    if (at >= table && count > 0 &&
        at - table < std::size_t{count} * model3da::kMaterialRecordSize) {
      const std::size_t in_record = (at - table) % model3da::kMaterialRecordSize;
      // The name and the four texture names fill the first 160 bytes, 32 each.
      named = in_record < 160 && in_record % 32 <= 32 - 3;
    }
    if (!named) stray.push_back(at);
  }
  return stray;
}

bool MakeMeshes(std::vector<BinaryAsset>& meshes, std::string& error) {
  for (unsigned cut = 0; cut < 32; ++cut) {
    if (!MakeBody(cut, meshes, error)) return false;
  }
  for (const char* part :
       {"EXHAUST", "BONNET", "SPOILER", "BUMPERF", "BUMPERR", "DOORL", "DOORR"}) {
    if (!MakePart(part, CarPanels(), true, meshes, error)) return false;
  }
  {
    // The exhaust used when the exhaust is not a separate part: one helper at
    // the mounting point, no geometry and no material.
    MaterialTable none;
    std::vector<NodeData> nodes;
    nodes.push_back(HelperNode("Exhaust_0", {0, 0, 0}));
    if (!Finish("EXHAUSTDUMMY", nodes, none, meshes, error)) return false;
  }
  for (const char* part : {"ANTENNAF", "WIPERL", "WIPERR"}) {
    if (!MakePart(part, AnimatedPartPanels(), false, meshes, error)) return false;
  }
  for (const WheelType& type : WheelTypes()) {
    MaterialTable materials;
    std::vector<NodeData> nodes;
    for (int level = 0; level < kLevels; ++level)
      nodes.push_back(WheelNode(type, level, materials));
    if (!Finish(type.resource, nodes, materials, meshes, error)) return false;
  }
  return true;
}

}  // namespace assetgen
