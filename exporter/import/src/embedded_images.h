// Embedded textures as image files: their names beside the export, and the
// bytes of raw texel arrays as 32-bit TGA images.
#pragma once

#include <assimp/texture.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace scene_import {

// The longest texture file name the exporter stores.
inline constexpr size_t kMaxTextureName = 31;

// A file name for an embedded texture: its own name when it has one, else
// "<stem>_<index>", with the extension of its format; characters other than
// letters, digits, '-', '_' and '.' become '_', the name is cut to fit
// kMaxTextureName and made unique (case-insensitive) against `taken`.
std::string embedded_image_name(const aiTexture& texture, unsigned index, const std::string& stem,
                                std::set<std::string>& taken);

// The image file's bytes: a compressed texture as stored, a raw one as an
// uncompressed 32-bit TGA (none when it is larger than a TGA holds).
std::vector<uint8_t> embedded_image_bytes(const aiTexture& texture);

}  // namespace scene_import
