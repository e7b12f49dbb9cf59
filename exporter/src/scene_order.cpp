// Export order, node counting, names and node kinds.
#include "scenepress/scene_order.h"

#include <algorithm>

#include "filesystem/ascii_case.h"
#include "host/class_ids.h"

namespace scenepress {

int compare_no_case(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int d = int(uint8_t(ascii::lower(a[i]))) - int(uint8_t(ascii::lower(b[i])));
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::vector<INode*> sorted_children(INode* node) {
  std::vector<INode*> children;
  for (int i = 0; i < node->NumberOfChildren(); ++i) {
    if (INode* child = node->GetChildNode(i)) children.push_back(child);
  }
  std::stable_sort(children.begin(), children.end(), [](INode* a, INode* b) {
    return compare_no_case(a->GetName(), b->GetName()) < 0;
  });
  return children;
}

int16_t visible_child_count(INode* node) {
  int count = 0;
  for (int i = 0; i < node->NumberOfChildren(); ++i) {
    INode* child = node->GetChildNode(i);
    if (child != nullptr && !child->IsNodeHidden(false)) ++count;
  }
  return int16_t(count);
}

bool is_geometry_or_helper(INode* node) {
  const ObjectState state = node->EvalWorldState(0, true);
  if (state.obj == nullptr) return false;
  const SClass_ID super = state.obj->SuperClassID();
  return super == GEOMOBJECT_CLASS_ID || super == HELPER_CLASS_ID;
}

int count_exportable_nodes(INode* root) {
  int count = 0;
  std::vector<INode*> pending{root};
  while (!pending.empty()) {
    INode* node = pending.back();
    pending.pop_back();
    if (!node->IsHidden() && is_geometry_or_helper(node)) ++count;
    for (int i = 0; i < node->NumberOfChildren(); ++i) {
      if (INode* child = node->GetChildNode(i)) pending.push_back(child);
    }
  }
  return count;
}

bool has_lod_postfix(std::string_view name) {
  return name.size() >= 2 && name[name.size() - 2] == '_' && name.back() >= '0' &&
         name.back() <= '9';
}

std::string with_lod_postfix(std::string_view name) {
  std::string out(name);
  if (!has_lod_postfix(name)) out += "_0";
  return out;
}

bool is_lip_bone(std::string_view name) {
  return name.size() >= 3 && compare_no_case(name.substr(0, 3), "lip") == 0;
}

bool is_biped_controller(Control* controller) {
  if (controller == nullptr) return false;
  const Class_ID id = controller->ClassID();
  return id == BIPSLAVE_CONTROL_CLASS_ID || id == BIPBODY_CONTROL_CLASS_ID ||
         id == FOOTPRINT_CLASS_ID;
}

std::array<bool, 5> present_map_channels(const Mesh& mesh) {
  std::array<bool, 5> present{};
  for (int channel = 0; channel < 5; ++channel) {
    if (channel >= mesh.getNumMaps()) break;
    present[size_t(channel)] =
        channel == 1 ? mesh.getNumTVerts() > 0 : mesh.mapFaces(channel) != nullptr;
  }
  return present;
}

}  // namespace scenepress
