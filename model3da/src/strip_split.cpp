// Cutting long strips into pieces of at most the cache size in real faces.
#include "strip_order.h"

namespace model3da::strips {

StripList split_strips(const StripList& strips, int threshold) {
  StripList pieces;
  pieces.faces.reserve(strips.faces.size());
  for (std::size_t s = 0; s < strips.size(); ++s) {
    const std::span<const StripFace> faces = strips.strip(s);
    int real = 0;
    for (const StripFace& f : faces) real += is_degenerate(f) ? 0 : 1;
    if (real <= threshold) {
      pieces.faces.insert(pieces.faces.end(), faces.begin(), faces.end());
      pieces.close_strip();
      continue;
    }
    const int times = real / threshold;
    int leftover = real % threshold;
    std::size_t pos = 0;
    for (int j = 0; j < times; ++j) {
      // A piece ends with its threshold-th real face; degenerate faces before
      // its first real face are dropped.
      int real_in_piece = 0;
      while (real_in_piece < threshold) {
        const StripFace& f = faces[pos++];
        if (!is_degenerate(f)) {
          pieces.faces.push_back(f);
          ++real_in_piece;
        } else if (real_in_piece > 0) {
          pieces.faces.push_back(f);
        }
      }
      if (j == times - 1 && leftover >= 1 && leftover <= 3) {
        for (int taken = 0; taken < leftover;) {
          const StripFace& f = faces[pos++];
          if (!is_degenerate(f)) ++taken;
          pieces.faces.push_back(f);
        }
        leftover = 0;
      }
      pieces.close_strip();
    }
    if (leftover != 0) {
      const std::size_t piece_begin = pieces.faces.size();
      for (int taken = 0; taken < leftover;) {
        const StripFace& f = faces[pos++];
        if (!is_degenerate(f)) {
          pieces.faces.push_back(f);
          ++taken;
        } else if (pieces.faces.size() > piece_begin) {
          pieces.faces.push_back(f);
        }
      }
      pieces.close_strip();
    }
  }
  return pieces;
}

}  // namespace model3da::strips
