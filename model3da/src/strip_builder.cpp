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

void append_face(std::vector<std::uint16_t>& out, const strips::StripFace& f) {
  out.insert(out.end(), std::begin(f.v), std::end(f.v));
}

}  // namespace

void print_strip_message(std::string_view message) {
  std::fwrite(message.data(), 1, message.size(), stdout);
}

int effective_cache_size(int cache_size) {
  return std::max(cache_size, 7) - 6;
}

std::vector<PrimitiveGroup> generate_strips(std::span<const std::uint16_t> indices,
                                            const StripSettings& settings,
                                            const StripMessageSink& sink) {
  const std::span<const std::uint16_t> triangles = indices.first(indices.size() / 3 * 3);
  int max_index = 0;
  for (std::uint16_t v : triangles) max_index = std::max<int>(max_index, v);

  strips::Mesh mesh = strips::build_mesh(triangles, max_index, sink);
  if (mesh.faces.empty()) return {PrimitiveGroup{}};
  const strips::StripList found = strips::find_all_strips(mesh);
  const int cache_size = effective_cache_size(settings.cache_size);
  const strips::OrderedStrips ordered =
      strips::split_and_order(found, mesh, cache_size, settings.min_strip_length);

  std::vector<PrimitiveGroup> groups;
  if (settings.lists_only) {
    PrimitiveGroup list;
    list.indices.reserve((ordered.strips.faces.size() + ordered.loose_faces.size()) * 3);
    for (const strips::StripFace& f : ordered.strips.faces)
      if (!strips::is_degenerate(f)) append_face(list.indices, f);
    for (const strips::StripFace& f : ordered.loose_faces)
      if (!strips::is_degenerate(f)) append_face(list.indices, f);
    groups.push_back(std::move(list));
    return groups;
  }

  const std::vector<std::int32_t> sequence =
      strips::stitch_strips(ordered.strips, settings.stitch_strips);
  PrimitiveGroup strip{PrimitiveType::kStrip, {}};
  for (std::int32_t v : sequence) {
    if (v == strips::kNone) {
      groups.push_back(std::move(strip));
      strip = PrimitiveGroup{PrimitiveType::kStrip, {}};
    } else {
      strip.indices.push_back(static_cast<std::uint16_t>(v));
    }
  }
  if (settings.stitch_strips) groups.push_back(std::move(strip));
  if (!ordered.loose_faces.empty()) {
    PrimitiveGroup list;
    for (const strips::StripFace& f : ordered.loose_faces) append_face(list.indices, f);
    groups.push_back(std::move(list));
  }
  return groups;
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
