// DDS files: the 128-byte header ("DDS " and the 124-byte surface
// description) followed by the top image and its mip levels, each level half
// the size of the one before (at least 1 pixel).
#pragma once

#include <string>

#include "image.h"

namespace assetgen {

enum class DdsFormat {
  kDxt1,      // 8 bytes per 4 x 4 block, no alpha
  kDxt3,      // 16 bytes per 4 x 4 block, 4-bit explicit alpha
  kR5G6B5,    // 16-bit RGB
  kA4R4G4B4,  // 16-bit RGB with 4-bit alpha
};

// Returns the DDS file of `image` in `format` with `mip_levels` levels; 0
// means a single image without a mip count in the header (flag and caps
// for mip maps unset). The levels below the top are made by halving.
std::string MakeDds(const Image& image, DdsFormat format, int mip_levels);

}  // namespace assetgen
