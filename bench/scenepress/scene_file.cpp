// The benchmark's glTF scene.
#include "scene_file.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace bench_scenepress {
namespace {

void append_floats(std::vector<uint8_t>& out, std::initializer_list<float> values) {
  for (float v : values) {
    uint8_t bytes[4];
    std::memcpy(bytes, &v, 4);
    out.insert(out.end(), bytes, bytes + 4);
  }
}

void append_u32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

}  // namespace

size_t write_sphere_scene(const std::filesystem::path& path, int nodes, int rings, int segments) {
  // One sphere's vertices (position, normal, uv interleaved per array) and
  // indices; every mesh has its own copy so that the file is as large as a
  // real scene of that many triangles.
  std::vector<uint8_t> positions, normals, uvs, indices;
  for (int i = 0; i <= rings; ++i) {
    const float theta = float(M_PI) * float(i) / float(rings);
    for (int j = 0; j <= segments; ++j) {
      const float phi = 2.0f * float(M_PI) * float(j) / float(segments);
      const float x = std::sin(theta) * std::cos(phi), y = std::cos(theta),
                  z = std::sin(theta) * std::sin(phi);
      append_floats(positions, {x, y, z});
      append_floats(normals, {x, y, z});
      append_floats(uvs, {float(j) / float(segments), float(i) / float(rings)});
    }
  }
  size_t triangles = 0;
  for (int i = 0; i < rings; ++i) {
    for (int j = 0; j < segments; ++j) {
      const uint16_t a = uint16_t(i * (segments + 1) + j), b = uint16_t(a + 1),
                     c = uint16_t(a + segments + 1), d = uint16_t(c + 1);
      for (uint16_t v : {a, c, d, a, d, b}) {
        indices.push_back(uint8_t(v));
        indices.push_back(uint8_t(v >> 8));
      }
      triangles += 2;
    }
  }
  const size_t vertex_count = size_t(rings + 1) * size_t(segments + 1);

  std::vector<uint8_t> bin;
  std::string buffer_views, accessors, meshes, node_list, children;
  for (int n = 0; n < nodes; ++n) {
    const size_t base = bin.size();
    bin.insert(bin.end(), positions.begin(), positions.end());
    bin.insert(bin.end(), normals.begin(), normals.end());
    bin.insert(bin.end(), uvs.begin(), uvs.end());
    bin.insert(bin.end(), indices.begin(), indices.end());
    const size_t offsets[4] = {base, base + positions.size(),
                               base + positions.size() + normals.size(),
                               base + positions.size() + normals.size() + uvs.size()};
    const size_t lengths[4] = {positions.size(), normals.size(), uvs.size(), indices.size()};
    for (int k = 0; k < 4; ++k) {
      buffer_views += (buffer_views.empty() ? "" : ",") +
                      std::string("{\"buffer\":0,\"byteOffset\":") + std::to_string(offsets[k]) +
                      ",\"byteLength\":" + std::to_string(lengths[k]) + "}";
    }
    const int view = n * 4;
    const std::string count = std::to_string(vertex_count);
    accessors += (n == 0 ? "" : ",") + std::string("{\"bufferView\":") + std::to_string(view) +
                 ",\"componentType\":5126,\"count\":" + count +
                 ",\"type\":\"VEC3\",\"min\":[-1,-1,-1],\"max\":[1,1,1]},"
                 "{\"bufferView\":" +
                 std::to_string(view + 1) + ",\"componentType\":5126,\"count\":" + count +
                 ",\"type\":\"VEC3\"},"
                 "{\"bufferView\":" +
                 std::to_string(view + 2) + ",\"componentType\":5126,\"count\":" + count +
                 ",\"type\":\"VEC2\"},"
                 "{\"bufferView\":" +
                 std::to_string(view + 3) +
                 ",\"componentType\":5123,\"count\":" + std::to_string(indices.size() / 2) +
                 ",\"type\":\"SCALAR\"}";
    meshes += (n == 0 ? "" : ",") + std::string("{\"primitives\":[{\"attributes\":{\"POSITION\":") +
              std::to_string(view) + ",\"NORMAL\":" + std::to_string(view + 1) +
              ",\"TEXCOORD_0\":" + std::to_string(view + 2) +
              "},\"indices\":" + std::to_string(view + 3) + ",\"material\":0}]}";
    node_list += std::string(",{\"name\":\"Part") + std::to_string(n) +
                 "\",\"mesh\":" + std::to_string(n) + ",\"translation\":[" +
                 std::to_string((n % 8) * 3) + "," + std::to_string((n / 8) * 3) + ",0]}";
    children += (n == 0 ? "" : ",") + std::to_string(n + 1);
  }
  const std::string json =
      "{\"asset\":{\"version\":\"2.0\"},\"scene\":0,\"scenes\":[{\"nodes\":[0]}],"
      "\"nodes\":[{\"name\":\"Scene\",\"children\":[" +
      children + "]}" + node_list +
      "],"
      "\"meshes\":[" +
      meshes + "],\"accessors\":[" + accessors +
      "],"
      "\"bufferViews\":[" +
      buffer_views +
      "],"
      "\"buffers\":[{\"byteLength\":" +
      std::to_string(bin.size()) +
      "}],"
      "\"materials\":[{\"name\":\"Paint\",\"pbrMetallicRoughness\":{\"baseColorTexture\":"
      "{\"index\":0}}}],\"textures\":[{\"source\":0}],\"images\":[{\"uri\":\"paint.png\"}]}";

  std::string padded_json = json;
  while (padded_json.size() % 4 != 0) padded_json += ' ';
  while (bin.size() % 4 != 0) bin.push_back(0);
  std::vector<uint8_t> file;
  append_u32(file, 0x46546C67);  // "glTF"
  append_u32(file, 2);
  append_u32(file, uint32_t(12 + 8 + padded_json.size() + 8 + bin.size()));
  append_u32(file, uint32_t(padded_json.size()));
  append_u32(file, 0x4E4F534A);  // "JSON"
  file.insert(file.end(), padded_json.begin(), padded_json.end());
  append_u32(file, uint32_t(bin.size()));
  append_u32(file, 0x004E4942);  // "BIN\0"
  file.insert(file.end(), bin.begin(), bin.end());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  return triangles * size_t(nodes);
}

}  // namespace bench_scenepress
