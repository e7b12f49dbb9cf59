// Shortening node and material names.
#include "name_shortening.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "filesystem/ascii_case.h"
#include "host/memory_objects.h"

namespace scene_import {
namespace {

using ascii::lower;

void each_node(host::SceneNode& node, const std::function<void(host::SceneNode&)>& visit) {
  visit(node);
  for (auto& child : node.children) each_node(*child, visit);
}

// The standard materials of the scene, each once, in the order met.
std::vector<host::StandardMaterial*> scene_materials(host::SceneNode& root) {
  std::vector<host::StandardMaterial*> out;
  const auto add = [&](Mtl* m) {
    auto* standard = dynamic_cast<host::StandardMaterial*>(m);
    if (standard != nullptr && std::find(out.begin(), out.end(), standard) == out.end()) {
      out.push_back(standard);
    }
  };
  each_node(root, [&](host::SceneNode& node) {
    if (!node.material) return;
    add(node.material.get());
    for (int i = 0; i < node.material->NumSubMtls(); ++i) add(node.material->GetSubMtl(i));
  });
  return out;
}

}  // namespace

std::string file_safe_name(std::string name) {
  for (char& c : name) {
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '_';
  }
  return name;
}

bool has_lod_postfix(std::string_view name) {
  return name.size() >= 2 && name[name.size() - 2] == '_' &&
         std::isdigit(static_cast<unsigned char>(name.back()));
}

bool node_name_fits(std::string_view name) {
  return name.size() <= (has_lod_postfix(name) ? kMaxNodeName : kMaxNodeNameWithoutPostfix);
}

std::string shorten_name(const std::string& name, size_t limit, bool keep_postfix,
                         std::set<std::string>& taken) {
  const std::string postfix =
      keep_postfix && has_lod_postfix(name) ? name.substr(name.size() - 2) : std::string();
  const std::string body = name.substr(0, name.size() - postfix.size());
  for (int n = 1;; ++n) {
    const std::string tag = "~" + std::to_string(n);
    const size_t room = limit - postfix.size() - tag.size();
    const std::string candidate = body.substr(0, room) + tag + postfix;
    if (taken.insert(lower(candidate)).second) return candidate;
  }
}

void shorten_scene_names(host::Scene& scene, std::vector<Rename>& renamed) {
  host::SceneNode& root = scene.root();
  std::set<std::string> taken;
  std::vector<host::SceneNode*> long_nodes;
  each_node(root, [&](host::SceneNode& node) {
    if (&node == &root) return;
    if (node_name_fits(node.name)) {
      taken.insert(lower(node.name));
    } else {
      long_nodes.push_back(&node);
    }
  });
  for (host::SceneNode* node : long_nodes) {
    // A name with a postfix keeps it; without, the exporter adds "_0".
    const size_t limit = has_lod_postfix(node->name) ? kMaxNodeName : kMaxNodeNameWithoutPostfix;
    const std::string shorter = shorten_name(node->name, limit, true, taken);
    renamed.push_back({"node", node->name, shorter});
    node->name = shorter;
  }

  std::set<std::string> material_names;
  const std::vector<host::StandardMaterial*> materials = scene_materials(root);
  for (host::StandardMaterial* m : materials) {
    if (m->name.size() <= kMaxMaterialName) material_names.insert(lower(m->name));
  }
  for (host::StandardMaterial* m : materials) {
    if (m->name.size() <= kMaxMaterialName) continue;
    const std::string shorter = shorten_name(m->name, kMaxMaterialName, false, material_names);
    renamed.push_back({"material", m->name, shorter});
    m->name = shorter;
  }
}

}  // namespace scene_import
