// The nodes an export will write, in record order, worked out before the
// walk: skinned meshes name their bones by record index, and the node matrix
// table is indexed the same way, so both come from this list.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "host/node.h"

namespace scenepress {

// The nodes that become records, in the walk's order: children sorted by
// name without regard to case, depth first; with `selected_only` an
// unselected node leaves out its whole subtree; hidden nodes
// (IsNodeHidden(false)) and nodes without an evaluated object are skipped
// (their children still count); geometry objects count when they convert to
// a triangle mesh, helpers always. The root itself is never a record.
std::vector<INode*> planned_records(INode* root, bool selected_only);

// The record index of the first node in `records` whose name equals `name`
// without regard to case, or nothing.
std::optional<int> record_index_by_name(std::span<INode* const> records, std::string_view name);

}  // namespace scenepress
