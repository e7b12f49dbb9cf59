// A tree of the collision section written as it is split.
#pragma once

#include <cstdint>

#include "model3da/collision.h"
#include "section_file.h"

namespace model3da {

// Splits `triangles` and writes their tree at the end of `file`, each node
// as the split makes it; returns the tree's bytes. No node is held: a node's
// child-1 offset is written over its place once child 0's subtree is
// written.
uint64_t stream_tree(SectionFile& file, const TreeTriangles& triangles);

}  // namespace model3da
