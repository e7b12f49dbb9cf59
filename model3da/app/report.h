// What the model3da program shows of a loaded model: a text listing for
// `info` and the same data as JSON for `dump --json`.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "model3da/model.h"

namespace model3da::app {

// The model as JSON: header, nodes (in chain order, with parent indices,
// surfaces and tracks), materials and the collision section.
nlohmann::json model_json(const Model& model);

// The text listing: header, node tree, materials, collision section.
std::string model_info(const Model& model);

}  // namespace model3da::app
