// libFuzzer harness: any byte block must load or be refused, never crash or
// read outside it; a model that loads must also build its collision set.
#include <cstddef>
#include <cstdint>

#include "model3da/collision.h"
#include "model3da/model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto* begin = reinterpret_cast<const std::byte*>(data);
  model3da::LoadResult result = model3da::load_model(model3da::Bytes(begin, begin + size));
  if (result.ok()) {
    model3da::CollisionSet set = model3da::build_collision_set(*result.model);
    (void)model3da::collision_section_bytes(set, result.model->header.collisionOffset);
    for (const model3da::NodeView& node : result.model->nodes) {
      (void)model3da::node_world_matrix(*result.model, node);
      if (node.rotation) node.rotation->evaluate(3.5f, 0);
    }
  }
  return 0;
}
