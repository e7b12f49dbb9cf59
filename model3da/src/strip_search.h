// Finding the strips of a surface by experiments: from up to ten reset points
// per pass, six trial strips each (three edges, two directions), each extended
// by further strips beside it; the experiment with the largest average strip
// size is committed, until every face lies in a strip.
#pragma once

#include <cstdint>
#include <vector>

#include "strip_mesh.h"

namespace model3da::strips {

// Strips as consecutive runs of one face array.
struct StripList {
  std::vector<StripFace> faces;
  std::vector<std::uint32_t> ends;  // strip i holds faces [ends[i-1], ends[i])

  std::size_t size() const { return ends.size(); }
  std::uint32_t begin_of(std::size_t i) const { return i == 0 ? 0 : ends[i - 1]; }
  std::span<const StripFace> strip(std::size_t i) const {
    return {faces.data() + begin_of(i), faces.data() + ends[i]};
  }
  void close_strip() { ends.push_back(static_cast<std::uint32_t>(faces.size())); }
};

// Finds all strips of `mesh` (which must hold at least one face) in commit
// order. Sets the faces' strip ids.
StripList find_all_strips(Mesh& mesh);

}  // namespace model3da::strips
