// The scene walk's rules over host nodes: the export order of children,
// the counting of exportable nodes, node names and their level-of-detail
// postfix, and the kinds of geometry nodes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/mesh.h"
#include "host/node.h"

namespace scenepress {

// Names of 32 characters or more are refused; a name field holds 31 and a
// terminating zero.
inline constexpr size_t kMaxNameLength = 31;

// Compares two names without regard to (ASCII) case: <0, 0, >0.
int compare_no_case(std::string_view a, std::string_view b);

// The node's children sorted by name without regard to case (equal names
// keep the host's order).
std::vector<INode*> sorted_children(INode* node);

// Number of the node's children that are not hidden (IsNodeHidden(false)).
int16_t visible_child_count(INode* node);

// True when the object evaluated at time 0 is a geometry or helper object.
bool is_geometry_or_helper(INode* node);

// The nodes of the tree from `root` (root included) that are not hidden
// (IsHidden) and evaluate to a geometry or helper object.
int count_exportable_nodes(INode* root);

// True when the name ends in an underscore and one digit ("Body_1").
bool has_lod_postfix(std::string_view name);

// The name with "_0" appended when it has no level-of-detail postfix.
std::string with_lod_postfix(std::string_view name);

// True when the name begins with "lip" in any case (a bone of the face).
bool is_lip_bone(std::string_view name);

// True when the controller is one of the Biped controllers.
bool is_biped_controller(Control* controller);

// Which map channels (0 vertex colours, 1 to 4 texture coordinates) a mesh
// has: channel 1 when it has texture vertices, the others when they have map
// faces; channels at or above the mesh's number of maps never.
std::array<bool, 5> present_map_channels(const Mesh& mesh);

}  // namespace scenepress
