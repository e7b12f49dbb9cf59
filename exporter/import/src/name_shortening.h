// Names the exporter cannot store, shortened to unique names that fit.
//
// A node name holds 31 characters and must end in a level-of-detail postfix
// ("_" and a digit), which the exporter appends as "_0" when it is missing,
// so a name without one may have 29. A material name holds 27 characters
// (".mat" follows it). A shortened name keeps its start and its postfix and
// ends its body in "~" and a number, unique without regard to case.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/scene.h"
#include "import/scene_import.h"

namespace scene_import {

inline constexpr size_t kMaxNodeName = 31;
inline constexpr size_t kMaxNodeNameWithoutPostfix = 29;
inline constexpr size_t kMaxMaterialName = 27;

// The exporter makes file names of node and material names (.mat scripts,
// morph weld maps): a name from a scene file keeps no folder separator or
// control character, each becomes '_'.
std::string file_safe_name(std::string name);

bool has_lod_postfix(std::string_view name);
bool node_name_fits(std::string_view name);

// `name` cut to `limit` characters (its level-of-detail postfix kept when
// `keep_postfix`) with a "~N" tag, the first such name not in `taken`
// (lower case), which it joins.
std::string shorten_name(const std::string& name, size_t limit, bool keep_postfix,
                         std::set<std::string>& taken);

// Shortens every node and material name of the scene that does not fit and
// lists the changes.
void shorten_scene_names(host::Scene& scene, std::vector<Rename>& renamed);

}  // namespace scene_import
