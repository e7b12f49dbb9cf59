// Operations on a loaded model: vertex access, find node by name, node is
// animated, node world matrix and the hierarchy view.
#include "model3da/model.h"

namespace model3da {
namespace {

bool has_keys(const std::unique_ptr<Track_c>& track) {
  return track && track->key_count() > 1;
}

Matrix4 local_matrix(const NodeView& node) {
  Vec3 t{0.0f, 0.0f, 0.0f};
  Quat q{0.0f, 0.0f, 0.0f, 1.0f};
  Vec3 s{1.0f, 1.0f, 1.0f};
  if (node.position) {
    const auto v = node.position->current_value();
    t = {v[0], v[1], v[2]};
  }
  if (node.rotation) {
    const auto v = node.rotation->current_value();
    q = {v[0], v[1], v[2], v[3]};
  }
  if (node.scale) {
    const auto v = node.scale->current_value();
    s = {v[0], v[1], v[2]};
  }
  return multiply_affine(multiply_affine(scale_matrix(s), rotation_matrix(q)),
                         translation_matrix(t));
}

}  // namespace

Vec3 Model::position(const SurfaceView& surface, uint32_t vertex) const {
  const std::byte* p = bytes.data() + surface.record.positionsOffset + size_t(vertex) * 12;
  return {read_f32(p), read_f32(p + 4), read_f32(p + 8)};
}

Vec2 Model::uv0(const SurfaceView& surface, uint32_t vertex) const {
  const std::byte* p = bytes.data() + surface.record.uvOffset[0] + size_t(vertex) * 8;
  return {read_f32(p), read_f32(p + 4)};
}

uint16_t Model::list_index(const SurfaceView& surface, uint32_t k) const {
  return read_u16(bytes.data() + surface.record.listIndicesOffset + size_t(k) * 2);
}

uint16_t Model::strip_index(const SurfaceView& surface, uint32_t k) const {
  return read_u16(bytes.data() + surface.record.stripIndicesOffset + size_t(k) * 2);
}

std::string Model::material_name(const SurfaceView& surface) const {
  const uint32_t index = surface.record.materialIndex;
  return index < materials.size() ? materials[index].name : std::string("no material");
}

const NodeView* find_node_by_name(const Model& model, std::string_view name) {
  for (const NodeView& node : model.nodes) {
    if (node.record.name == name) return &node;
  }
  return nullptr;
}

bool node_is_animated(const Model& model, const NodeView& node) {
  // Parents always come earlier in the chain (checked at load), so the walk
  // ends.
  const NodeView* current = &node;
  while (current) {
    if (has_keys(current->position) || has_keys(current->rotation) || has_keys(current->scale)) {
      return true;
    }
    const int16_t parent = current->record.parentIndex;
    current = parent == kNoParent ? nullptr : &model.nodes[size_t(parent)];
  }
  return false;
}

Matrix4 node_world_matrix(const Model& model, const NodeView& node) {
  Matrix4 world = local_matrix(node);
  int16_t parent = node.record.parentIndex;
  while (parent != kNoParent) {
    const NodeView& up = model.nodes[size_t(parent)];
    world = multiply_affine(world, local_matrix(up));
    parent = up.record.parentIndex;
  }
  return world;
}

std::vector<HierarchyEntry> node_hierarchy(const Model& model) {
  std::vector<HierarchyEntry> entries(model.nodes.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    entries[i].node = &model.nodes[i];
    entries[i].index = uint32_t(i);
  }
  for (size_t i = 1; i < entries.size(); ++i) {
    const int16_t parent = model.nodes[i].record.parentIndex;
    if (parent == kNoParent) {
      entries[i].next_sibling = entries[0].next_sibling;
      entries[0].next_sibling = int(i);
    } else {
      entries[i].parent = parent;
      entries[i].next_sibling = entries[size_t(parent)].first_child;
      entries[size_t(parent)].first_child = int(i);
    }
  }
  return entries;
}

}  // namespace model3da
