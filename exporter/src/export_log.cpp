// The export log's text.
#include "scenepress/export_log.h"

#include <fmt/format.h>
#include <fmt/printf.h>

namespace scenepress {
namespace {

constexpr int kMaxIndent = 15;

void node_lines(std::string& s, const model3da::NodeView& node, int depth,
                const std::vector<model3da::MaterialRecord>& materials) {
  const std::string prefix(size_t(std::min(depth, kMaxIndent)), '\t');
  s += fmt::sprintf("%s%s: %s, idx: %d\n", prefix, model3da::node_type_name(node.record.nodeType),
                    node.record.name, int(node.index));
  s += fmt::sprintf("%s surfaces: %d\n", prefix, int(node.surfaces.size()));
  uint64_t vertices = 0, faces = 0;
  for (size_t i = 0; i < node.surfaces.size(); ++i) {
    const model3da::SurfaceRecord& r = node.surfaces[i].record;
    uint64_t f = r.listIndexCount / 3;
    if (r.stripIndexCount >= 3) f += r.stripIndexCount - 2;
    const std::string material = r.materialIndex < materials.size()
                                     ? materials[r.materialIndex].name
                                     : std::string("no material");
    s += fmt::sprintf("%s  %d: v: %d f: %d list: %d strip: %d mat: %s\n", prefix, int(i),
                      r.vertexCount, f, r.listIndexCount, r.stripIndexCount, material);
    vertices += r.vertexCount;
    faces += f;
  }
  if (!node.surfaces.empty()) {
    s += fmt::sprintf("%s vertices: %d, faces %d\n", prefix, vertices, faces);
  }
}

}  // namespace

std::string export_log_text(const ExportLogInputs& in, const model3da::Model& model,
                            const std::vector<model3da::MaterialRecord>& materials) {
  std::string s;
  s += fmt::sprintf("exporter version : %x\n", in.version);
  s += fmt::sprintf("build date: %s, %s\n", in.build_time, in.build_date);
  s += fmt::sprintf("log started : %d.%d.%d, %2d:%d\n", in.started.day, in.started.month,
                    in.started.year, in.started.hour, in.started.minute);
  s += fmt::sprintf("computer name : %s\n", in.computer.substr(0, 255));
  s += fmt::sprintf("user name : %s\n", in.user.substr(0, 255));
  s += fmt::sprintf("max file: %s\n\n", in.scene_path);
  s += fmt::sprintf("anim frames: %d\n", model.header.frameCount);
  s += fmt::sprintf("num elements: %d\n", model.header.nodeCount);
  s += fmt::sprintf("anim data size: %d\n\n", in.animation_data_size);
  // Node 0, then its children one level deeper, then its siblings; children
  // and siblings in the order of the hierarchy view (later nodes first).
  const std::vector<model3da::HierarchyEntry> tree = model3da::node_hierarchy(model);
  std::vector<std::pair<int, int>> pending;  // (entry, depth)
  if (!tree.empty()) pending.push_back({0, 0});
  while (!pending.empty()) {
    const auto [entry, depth] = pending.back();
    pending.pop_back();
    const model3da::HierarchyEntry& e = tree[size_t(entry)];
    node_lines(s, *e.node, depth, materials);
    if (e.next_sibling >= 0) pending.push_back({e.next_sibling, depth});
    if (e.first_child >= 0) pending.push_back({e.first_child, depth + 1});
  }
  if (!in.notes.empty()) {
    s += "\nnotes:\n";
    for (const std::string& note : in.notes) s += note + "\n";
  }
  return s;
}

}  // namespace scenepress
