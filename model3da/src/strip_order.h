// After the search: long strips are cut into cache-sized pieces, short ones
// dissolved into loose faces, and both the loose faces and the strips are
// ordered for a FIFO vertex cache.
#pragma once

#include "strip_mesh.h"
#include "strip_search.h"

namespace model3da::strips {

struct OrderedStrips {
  StripList strips;
  std::vector<StripFace> loose_faces;
};

// Cuts every strip with more than `threshold` real faces into pieces of
// `threshold` real faces (a remainder of 1 to 3 joins the last piece).
StripList split_strips(const StripList& strips, int threshold);

// Splits at `cache_size`, dissolves pieces with fewer than `min_strip_length`
// faces and orders loose faces and strips for a cache of `cache_size` entries.
OrderedStrips split_and_order(const StripList& strips, const Mesh& mesh, int cache_size,
                              int min_strip_length);

}  // namespace model3da::strips
