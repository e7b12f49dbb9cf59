// The seventeen textures of the generic car as DDS files: size, mip levels
// and pixel format of each are fixed by the TEXTURES catalogue.
#pragma once

#include <string>
#include <vector>

#include "dds.h"

namespace assetgen {

struct TextureSpec {
  std::string name;  // the TEXTURES resource name
  int width;
  int height;
  int mip_levels;  // 0 = a single image, no mip count
  DdsFormat format;
};

// The catalogue in resource order.
const std::vector<TextureSpec>& TextureCatalogue();

// The pixels of texture `name` at its full size (the painting guide for
// "BODY", the car's silhouette for "ICON" and "VIS", ...).
Image DrawTexture(const TextureSpec& entry);

// The DDS file of the texture.
std::string MakeTextureFile(const TextureSpec& entry);

}  // namespace assetgen
