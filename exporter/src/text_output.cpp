// CR LF text files and the .mat scripts.
#include "scenepress/text_output.h"

#include <fmt/format.h>

#include <cstdio>

namespace scenepress {

std::string crlf_text(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

bool write_text_file(const std::string& path, std::string_view text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const std::string bytes = crlf_text(text);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

std::string material_script(const model3da::MaterialRecord& r, int lighting_type,
                            const std::string& scene_file) {
  std::string s;
  s += "// generated file - max export plugin\n";
  s += fmt::format("// origin: {}\n\n", scene_file);
  s += "Shader()\n{\n";
  s += "\tPass()\n\t{\n";
  if (lighting_type == 1) s += "\t\tLighting()\n";
  const int count = std::min(std::max(r.textureCount, 0), model3da::kMaxTextures);
  for (int j = 0; j < count; ++j) {
    s += "\t\ttmu()\n\t\t{\n";
    s += fmt::format("\t\t\tTexture()\n\t\t\t{{\n\t\t\t\tImage(\"{}\")\n\t\t\t}}\n",
                     r.textures[size_t(j)]);
    s += "\t\t}\n";
  }
  s += "\n";
  auto colour = [&](const char* what, const std::array<float, 4>& c) {
    s += fmt::format("\t\t{}({:.3f}, {:.3f}, {:.3f}, {:.3f})\n", what, c[0], c[1], c[2], c[3]);
  };
  colour("AmbientColor", r.ambient);
  colour("DiffuseColor", r.diffuse);
  colour("SpecularColor", r.specular);
  colour("EmissiveColor", r.emissive);
  s += fmt::format("\t\tSpecularPow({:.3f})\n", r.specularPower);
  if (r.flags & 2) s += "\n\t\tAlphaFunc(\"gequal\", 128)\n";
  s += "\t}\n\n";
  s += (r.flags & 1) ? "\tCull(\"none\")\n" : "\tCull(\"cw\")\n";
  s += "}\n\n\n";
  return s;
}

}  // namespace scenepress
