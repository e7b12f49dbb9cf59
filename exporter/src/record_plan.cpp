// The nodes an export will write, in record order.
#include "scenepress/record_plan.h"

#include "host/class_ids.h"
#include "scenepress/scene_order.h"

namespace scenepress {
namespace {

// The same tests as ExportNode, in the same order.
bool becomes_record(INode* node) {
  if (node->IsNodeHidden(false)) return false;
  Object* object = node->EvalWorldState(0, true).obj;
  if (object == nullptr) return false;
  const SClass_ID super = object->SuperClassID();
  if (super == GEOMOBJECT_CLASS_ID) return object->CanConvertToType(TRIOBJ_CLASS_ID);
  return super == HELPER_CLASS_ID;
}

void plan_subtree(INode* node, bool selected_only, std::vector<INode*>& out) {
  if (selected_only && !node->Selected()) return;
  if (becomes_record(node)) out.push_back(node);
  for (INode* child : sorted_children(node)) plan_subtree(child, selected_only, out);
}

}  // namespace

std::vector<INode*> planned_records(INode* root, bool selected_only) {
  std::vector<INode*> out;
  for (INode* child : sorted_children(root)) plan_subtree(child, selected_only, out);
  return out;
}

std::optional<int> record_index_by_name(std::span<INode* const> records, std::string_view name) {
  for (size_t i = 0; i < records.size(); ++i) {
    if (compare_no_case(records[i]->GetName(), name) == 0) return int(i);
  }
  return std::nullopt;
}

}  // namespace scenepress
