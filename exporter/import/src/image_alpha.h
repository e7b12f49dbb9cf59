// Whether an image file has an alpha channel, from its first bytes: PNG
// (colour types with alpha, or a transparency chunk), TGA (alpha bits),
// DDS (alpha pixels, DXT2 to DXT5); JPEG and anything unknown have none.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace scene_import {

// `extension` (without the dot, any case) tells TGA files, which have no
// signature, from the rest.
bool image_has_alpha(std::span<const uint8_t> bytes, std::string_view extension);

}  // namespace scene_import
