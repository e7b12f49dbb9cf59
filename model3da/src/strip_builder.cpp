// The builder's entry points: settings, and generate in lists-only and strip
// mode on top of the stripifier stages.
#include "model3da/strip_builder.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "strip_mesh.h"
#include "strip_order.h"
#include "strip_search.h"
#include "strip_stitch.h"

namespace model3da {
namespace {

StripSettings g_settings = kExporterStripSettings;
StripMessageSink g_sink = print_strip_message;

}  // namespace

void print_strip_message(std::string_view message) {
  std::fwrite(message.data(), 1, message.size(), stdout);
}

int effective_cache_size(int cache_size) {
  return std::max(cache_size, 7) - 6;
}

namespace {

template <typename Index>
void append_face(std::vector<Index>& out, const strips::StripFace& f) {
  for (strips::Vertex v : f.v) out.push_back(static_cast<Index>(v));
}

// Generate on whole triangles with 32-bit vertex numbers; the results hold
// indices of the caller's type, which every input index fits.
template <typename Index>
std::vector<BasicPrimitiveGroup<Index>> generate(std::span<const strips::Vertex> triangles,
                                                 const StripSettings& settings,
                                                 const StripMessageSink& sink) {
  using Group = BasicPrimitiveGroup<Index>;
  strips::Vertex max_index = 0;
  for (strips::Vertex v : triangles) max_index = std::max(max_index, v);

  strips::Mesh mesh = strips::build_mesh(triangles, max_index, sink);
  if (mesh.faces.empty()) return {Group{}};
  const strips::StripList found = strips::find_all_strips(mesh);
  const int cache_size = effective_cache_size(settings.cache_size);
  const strips::OrderedStrips ordered =
      strips::split_and_order(found, mesh, cache_size, settings.min_strip_length);

  std::vector<Group> groups;
  if (settings.lists_only) {
    Group list;
    list.indices.reserve((ordered.strips.faces.size() + ordered.loose_faces.size()) * 3);
    for (const strips::StripFace& f : ordered.strips.faces)
      if (!strips::is_degenerate(f)) append_face(list.indices, f);
    for (const strips::StripFace& f : ordered.loose_faces)
      if (!strips::is_degenerate(f)) append_face(list.indices, f);
    groups.push_back(std::move(list));
    return groups;
  }

  const std::vector<strips::VertexOrNone> sequence =
      strips::stitch_strips(ordered.strips, settings.stitch_strips);
  Group strip{PrimitiveType::kStrip, {}};
  for (strips::VertexOrNone v : sequence) {
    if (v == strips::kNone) {
      groups.push_back(std::move(strip));
      strip = Group{PrimitiveType::kStrip, {}};
    } else {
      strip.indices.push_back(static_cast<Index>(v));
    }
  }
  if (settings.stitch_strips) groups.push_back(std::move(strip));
  if (!ordered.loose_faces.empty()) {
    Group list;
    for (const strips::StripFace& f : ordered.loose_faces) append_face(list.indices, f);
    groups.push_back(std::move(list));
  }
  return groups;
}

}  // namespace

std::vector<PrimitiveGroup> generate_strips(std::span<const std::uint16_t> indices,
                                            const StripSettings& settings,
                                            const StripMessageSink& sink) {
  const std::vector<strips::Vertex> triangles(indices.begin(),
                                              indices.begin() + indices.size() / 3 * 3);
  return generate<std::uint16_t>(triangles, settings, sink);
}

std::vector<PrimitiveGroup32> generate_strips32(std::span<const std::uint32_t> indices,
                                                const StripSettings& settings,
                                                const StripMessageSink& sink) {
  return generate<std::uint32_t>(indices.first(indices.size() / 3 * 3), settings, sink);
}

void set_lists_only(bool on) {
  g_settings.lists_only = on;
}
void set_stitch_strips(bool on) {
  g_settings.stitch_strips = on;
}
void set_min_strip_length(int length) {
  g_settings.min_strip_length = length;
}
void set_cache_size(int size) {
  g_settings.cache_size = size;
}
void set_strip_message_sink(StripMessageSink sink) {
  g_sink = std::move(sink);
}
StripSettings strip_settings() {
  return g_settings;
}

std::vector<PrimitiveGroup> generate_strips(std::span<const std::uint16_t> indices) {
  return generate_strips(indices, g_settings, g_sink);
}

}  // namespace model3da
