#include "report.h"

#include <fmt/format.h>

#include <algorithm>

namespace model3da::app {
namespace {

constexpr int kMaxIndent = 15;

uint32_t face_count(const SurfaceRecord& s) {
  return s.listIndexCount / 3 + (s.stripIndexCount >= 3 ? s.stripIndexCount - 2 : 0);
}

nlohmann::json track_json(const Track_c* track) {
  if (!track) return nullptr;
  return {{"class", track->class_name()}, {"keys", track->key_count()}};
}

nlohmann::json tree_json(const std::optional<TreeSummary>& tree) {
  if (!tree) return nullptr;
  return {{"offset", tree->offset},
          {"size", tree->size},
          {"nodes", tree->node_count},
          {"triangles", tree->triangle_count}};
}

std::string track_text(const char* role, const Track_c* track) {
  if (!track) return fmt::format("{} none", role);
  return fmt::format("{} {} ({} keys)", role, track->class_name(), track->key_count());
}

void node_text(std::string& out, const Model& model, const NodeView& node, int depth) {
  const std::string pad(size_t(std::min(depth, kMaxIndent)) * 2, ' ');
  const NodeRecord& r = node.record;
  out += fmt::format("{}{}: {}, idx: {}\n", pad, node_type_name(r.nodeType), r.name, node.index);
  out += fmt::format("{}  tracks: {}, {}, {}\n", pad, track_text("position", node.position.get()),
                     track_text("rotation", node.rotation.get()),
                     track_text("scale", node.scale.get()));
  if (node.surfaces.empty()) return;
  out += fmt::format("{}  surfaces: {}\n", pad, node.surfaces.size());
  uint64_t vertices = 0, faces = 0;
  for (size_t i = 0; i < node.surfaces.size(); ++i) {
    const SurfaceRecord& s = node.surfaces[i].record;
    out += fmt::format("{}    {}: v: {} f: {} list: {} strip: {} mat: {}\n", pad, i, s.vertexCount,
                       face_count(s), s.listIndexCount, s.stripIndexCount,
                       model.material_name(node.surfaces[i]));
    vertices += s.vertexCount;
    faces += face_count(s);
  }
  out += fmt::format("{}  vertices: {}, faces {}\n", pad, vertices, faces);
}

std::string tree_text(const char* name, const std::optional<TreeSummary>& tree) {
  if (!tree) return fmt::format("  {} tree: none\n", name);
  return fmt::format("  {} tree: {} bytes, {} nodes, {} triangles\n", name, tree->size,
                     tree->node_count, tree->triangle_count);
}

}  // namespace

nlohmann::json model_json(const Model& model) {
  const FileHeader& h = model.header;
  nlohmann::json doc;
  doc["header"] = {{"version", h.version},
                   {"nodeCount", h.nodeCount},
                   {"frameCount", h.frameCount},
                   {"materialTableOffset", h.materialTableOffset},
                   {"materialCount", h.materialCount},
                   {"firstNodeOffset", h.firstNodeOffset},
                   {"collisionFormat", h.collisionFormat},
                   {"collisionOffset", h.collisionOffset},
                   {"fileSize", model.block.size()}};
  nlohmann::json nodes = nlohmann::json::array();
  for (const NodeView& node : model.nodes) {
    const NodeRecord& r = node.record;
    nlohmann::json surfaces = nlohmann::json::array();
    for (const SurfaceView& surface : node.surfaces) {
      const SurfaceRecord& s = surface.record;
      surfaces.push_back({{"vertices", s.vertexCount},
                          {"faces", face_count(s)},
                          {"listIndices", s.listIndexCount},
                          {"stripIndices", s.stripIndexCount},
                          {"materialIndex", s.materialIndex},
                          {"material", model.material_name(surface)}});
    }
    nodes.push_back({{"index", node.index},
                     {"offset", node.offset},
                     {"name", r.name},
                     {"type", node_type_name(r.nodeType)},
                     {"parentIndex", r.parentIndex},
                     {"childCount", r.childCount},
                     {"animated", node_is_animated(model, node)},
                     {"surfaces", surfaces},
                     {"tracks",
                      {{"position", track_json(node.position.get())},
                       {"rotation", track_json(node.rotation.get())},
                       {"scale", track_json(node.scale.get())}}}});
  }
  doc["nodes"] = nodes;
  nlohmann::json materials = nlohmann::json::array();
  for (const MaterialRecord& m : model.materials) {
    nlohmann::json textures = nlohmann::json::array();
    for (int i = 0; i < m.textureCount; ++i) {
      textures.push_back({{"name", m.textures[size_t(i)]}, {"kind", m.textureKinds[size_t(i)]}});
    }
    materials.push_back({{"name", m.name},
                         {"textures", textures},
                         {"ambient", m.ambient},
                         {"diffuse", m.diffuse},
                         {"specular", m.specular},
                         {"emissive", m.emissive},
                         {"specularPower", m.specularPower},
                         {"twoSided", (m.flags & 1) != 0},
                         {"alpha", (m.flags & 2) != 0}});
  }
  doc["materials"] = materials;
  const CollisionSectionView& c = model.collision;
  nlohmann::json entries = nlohmann::json::array();
  for (const CollisionEntryView& e : c.entries) {
    entries.push_back({{"nodeIndex", e.node_index}, {"tree", tree_json(e.tree)}});
  }
  doc["collision"] = {{"present", c.present},
                      {"staticTreeSize", c.static_tree_size},
                      {"hullTreeSize", c.hull_tree_size},
                      {"entryCount", c.entry_count},
                      {"entryAreaSize", c.entry_area_size},
                      {"staticTree", tree_json(c.static_tree)},
                      {"hullTree", tree_json(c.hull_tree)},
                      {"entries", entries}};
  return doc;
}

std::string model_info(const Model& model) {
  const FileHeader& h = model.header;
  std::string out;
  out += fmt::format("file size: {} bytes\n", model.block.size());
  out += fmt::format("version: {}\nnodes: {}\nframes: {}\n", h.version, h.nodeCount, h.frameCount);
  out += fmt::format("materials: {} at {}\ncollision: format {} at {}\n\n", h.materialCount,
                     h.materialTableOffset, h.collisionFormat, h.collisionOffset);
  // Node tree: each node, then its children one level deeper, then its
  // siblings (children in reverse chain order, as the hierarchy view holds them).
  const std::vector<HierarchyEntry> view = node_hierarchy(model);
  std::vector<std::pair<int, int>> pending;  // entry, depth
  if (!view.empty()) pending.push_back({0, 0});
  while (!pending.empty()) {
    const auto [entry, depth] = pending.back();
    pending.pop_back();
    node_text(out, model, *view[size_t(entry)].node, depth);
    if (view[size_t(entry)].next_sibling >= 0) {
      pending.push_back({view[size_t(entry)].next_sibling, depth});
    }
    if (view[size_t(entry)].first_child >= 0) {
      pending.push_back({view[size_t(entry)].first_child, depth + 1});
    }
  }
  out += fmt::format("\nmaterials: {}\n", model.materials.size());
  for (size_t i = 0; i < model.materials.size(); ++i) {
    const MaterialRecord& m = model.materials[i];
    out += fmt::format("  {}: {}\n", i, m.name);
    for (int t = 0; t < m.textureCount; ++t) {
      out += fmt::format("    texture {}: {} (kind {})\n", t, m.textures[size_t(t)],
                         m.textureKinds[size_t(t)]);
    }
  }
  const CollisionSectionView& c = model.collision;
  out += "\ncollision section:";
  if (!c.present) {
    out += " none\n";
    return out;
  }
  out += fmt::format(" static {} bytes, hull {} bytes, {} entries, entry area {} bytes\n",
                     c.static_tree_size, c.hull_tree_size, c.entry_count, c.entry_area_size);
  out += tree_text("static", c.static_tree);
  out += tree_text("hull", c.hull_tree);
  for (const CollisionEntryView& e : c.entries) {
    out += fmt::format("  node {} tree: {} bytes, {} nodes, {} triangles\n", e.node_index,
                       e.tree.size, e.tree.node_count, e.tree.triangle_count);
  }
  return out;
}

}  // namespace model3da::app
