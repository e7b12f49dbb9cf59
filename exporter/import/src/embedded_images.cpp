// Embedded textures as files.
#include "embedded_images.h"

#include <cctype>
#include <filesystem>
#include <fstream>

#include "filesystem/ascii_case.h"
#include "import/scene_import.h"

namespace scene_import {
namespace {

using ascii::lower;

std::string safe(const std::string& text) {
  std::string out;
  for (unsigned char c : text) out += std::isalnum(c) || c == '-' || c == '_' ? char(c) : '_';
  return out;
}

std::string format_extension(const aiTexture& texture) {
  if (texture.mHeight != 0) return "tga";
  std::string hint = safe(lower(texture.achFormatHint));
  if (hint == "jpeg") hint = "jpg";
  return hint.empty() ? "bin" : hint;
}

}  // namespace

std::string embedded_image_name(const aiTexture& texture, unsigned index, const std::string& stem,
                                std::set<std::string>& taken) {
  const std::string extension = "." + format_extension(texture);
  std::string base;
  const std::string own = texture.mFilename.C_Str();
  if (!own.empty()) {
    std::filesystem::path path(own);
    std::string file = path.filename().string();
    // Names with backslashes come from other systems: cut after the last.
    if (const size_t cut = file.rfind('\\'); cut != std::string::npos) file.erase(0, cut + 1);
    base = std::filesystem::path(file).stem().string();
  }
  if (base.empty()) base = stem + "_" + std::to_string(index);
  base = safe(base);
  for (int n = 0;; ++n) {
    const std::string tag = n == 0 ? "" : "_" + std::to_string(n);
    const size_t room = kMaxTextureName - extension.size() - tag.size();
    const std::string name = base.substr(0, room) + tag + extension;
    if (taken.insert(lower(name)).second) return name;
  }
}

std::vector<uint8_t> embedded_image_bytes(const aiTexture& texture) {
  if (texture.mHeight == 0) {
    const auto* data = reinterpret_cast<const uint8_t*>(texture.pcData);
    return std::vector<uint8_t>(data, data + texture.mWidth);
  }
  // An uncompressed true-colour TGA, 32 bits, origin top left; its sizes
  // are 16-bit.
  const unsigned w = texture.mWidth, h = texture.mHeight;
  if (w > 0xFFFF || h > 0xFFFF) return {};
  std::vector<uint8_t> out(18, 0);
  out[2] = 2;
  out[12] = uint8_t(w & 0xFF);
  out[13] = uint8_t(w >> 8);
  out[14] = uint8_t(h & 0xFF);
  out[15] = uint8_t(h >> 8);
  out[16] = 32;
  out[17] = 0x28;  // 8 alpha bits, top-left origin
  out.reserve(18 + size_t(w) * h * 4);
  for (size_t i = 0; i < size_t(w) * h; ++i) {
    const aiTexel& t = texture.pcData[i];
    out.insert(out.end(), {t.b, t.g, t.r, t.a});
  }
  return out;
}

std::string write_embedded_images(const std::vector<EmbeddedImage>& images,
                                  const std::filesystem::path& folder) {
  for (const EmbeddedImage& image : images) {
    const std::filesystem::path name(image.file_name);
    if (name.empty() || name.has_parent_path() || name.filename() != name ||
        image.file_name == "." || image.file_name == "..") {
      return image.file_name + ": not a plain file name";
    }
    const std::filesystem::path path = folder / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.bytes.data()),
              std::streamsize(image.bytes.size()));
    out.close();
    if (!out) return path.string() + ": cannot be written";
  }
  return "";
}

}  // namespace scene_import
