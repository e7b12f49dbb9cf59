// Reading and writing weld map files.
#include "geometry/weld_map_file.h"

#include <fmt/format.h>

#include <fstream>
#include <system_error>

namespace geometry {

GeometryError weld_map_path(const std::filesystem::path& directory, std::string_view node_name,
                            std::size_t surface_index, std::filesystem::path& out) {
  if (node_name.empty() ||
      node_name.find_first_of(std::string_view("/\\:\0", 4)) != std::string_view::npos) {
    return {GeometryErrorKind::kWeldMapUnwritable,
            fmt::format("Node name '{}' cannot name a weld map file", node_name)};
  }
  out = directory / fmt::format("{}.{}", node_name, surface_index);
  return {};
}

model3da::Bytes weld_map_bytes(const WeldMap& weld) {
  model3da::Bytes out;
  out.reserve(8 + 4 * (weld.vertex_of_corner.size() + weld.corner_of_vertex.size()));
  model3da::append_u32(out, uint32_t(weld.vertex_of_corner.size()));
  model3da::append_u32(out, uint32_t(weld.corner_of_vertex.size() - 1));
  for (uint32_t v : weld.vertex_of_corner) model3da::append_u32(out, v);
  for (uint32_t c : weld.corner_of_vertex) model3da::append_u32(out, c);
  return out;
}

std::string parse_weld_map(std::span<const std::byte> bytes, std::size_t corner_count,
                           WeldMap& out) {
  if (bytes.size() < 8)
    return fmt::format("{} bytes, shorter than the 8-byte counts", bytes.size());
  const uint64_t corners = model3da::read_u32(bytes.data());
  const uint64_t vertices = uint64_t(model3da::read_u32(bytes.data() + 4)) + 1;
  if (corners != corner_count) {
    return fmt::format("{} corners in the map, {} in the surface", corners, corner_count);
  }
  if (vertices > kMaxSurfaceVertices) return fmt::format("{} vertices in the map", vertices);
  const uint64_t expected = 8 + 4 * (corners + vertices);
  if (bytes.size() != expected) {
    return fmt::format("{} bytes where its counts need {}", bytes.size(), expected);
  }
  WeldMap weld;
  weld.vertex_of_corner.resize(corners);
  weld.corner_of_vertex.resize(vertices);
  const std::byte* p = bytes.data() + 8;
  for (uint32_t& v : weld.vertex_of_corner) {
    v = model3da::read_u32(p);
    p += 4;
  }
  for (uint32_t& c : weld.corner_of_vertex) {
    c = model3da::read_u32(p);
    p += 4;
  }
  if (std::string error = check_weld_map(weld, corner_count); !error.empty()) return error;
  out = std::move(weld);
  return {};
}

GeometryError write_weld_map_file(const std::filesystem::path& path, const WeldMap& weld) {
  const model3da::Bytes bytes = weld_map_bytes(weld);
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) {
      file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
      file.flush();
      if (file) return {};
    }
  }
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  return {GeometryErrorKind::kWeldMapUnwritable,
          fmt::format("Unable to write the weld map file {}", path.string())};
}

GeometryError read_weld_map_file(const std::filesystem::path& path, std::size_t corner_count,
                                 WeldMap& out, std::string& detail) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    detail = fmt::format("{}: cannot be opened", path.string());
    return {GeometryErrorKind::kWeldMapUnreadable, std::string(kMessageUnableToOpen)};
  }
  auto mismatch = [&](const std::string& reason) {
    detail = fmt::format("{}: {}", path.string(), reason);
    return GeometryError{GeometryErrorKind::kWeldMapMismatch,
                         std::string(kMessageSurfacesDoNotMatch)};
  };
  // Read no more than a map of this surface can hold (plus one byte, to see
  // a longer file).
  const uint64_t limit = 8 + 4 * (uint64_t(corner_count) + kMaxSurfaceVertices) + 1;
  model3da::Bytes bytes;
  char buffer[65536];
  while (bytes.size() < limit) {
    const auto want = std::streamsize(std::min<uint64_t>(sizeof buffer, limit - bytes.size()));
    file.read(buffer, want);
    const auto got = file.gcount();
    const auto* begin = reinterpret_cast<const std::byte*>(buffer);
    bytes.insert(bytes.end(), begin, begin + got);
    if (got < want) break;
  }
  if (file.bad()) return mismatch("read error");
  if (std::string error = parse_weld_map(bytes, corner_count, out); !error.empty()) {
    return mismatch(error);
  }
  return {};
}

}  // namespace geometry
