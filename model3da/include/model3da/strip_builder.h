// The triangle strip builder: takes the triangle list of one surface (16-bit
// vertex indices, three per triangle) and gives it back in an order that suits
// a small post-transform vertex cache, either as triangle strips or as one
// triangle list reordered strip by strip (the mode the exporter uses). It works
// on indices alone and never looks at positions.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace model3da {

enum class PrimitiveType : int { kList = 0, kStrip = 1 };

// One primitive group of the result: a triangle list or one triangle strip.
template <typename Index>
struct BasicPrimitiveGroup {
  PrimitiveType type = PrimitiveType::kList;
  std::vector<Index> indices;

  bool operator==(const BasicPrimitiveGroup&) const = default;
};
using PrimitiveGroup = BasicPrimitiveGroup<std::uint16_t>;
using PrimitiveGroup32 = BasicPrimitiveGroup<std::uint32_t>;

// The four settings of the builder.
struct StripSettings {
  bool lists_only = true;     // one reordered triangle list instead of strips
  bool stitch_strips = true;  // strip mode: join all strips into one strip
  int min_strip_length = 0;   // strips with fewer faces become loose faces
  int cache_size = 24;        // size of the target vertex cache
};

// The settings the exporter always uses (and the process-wide defaults).
inline constexpr StripSettings kExporterStripSettings{true, true, 0, 24};

// The three messages the builder reports; processing goes on after each.
inline constexpr std::string_view kMessageThirdFaceOnEdge =
    "BuildStripifyInfo: > 2 triangles on an edge... uncertain consequences\n";
inline constexpr std::string_view kMessageMissingVertex =
    "GetNextIndex: Triangle doesn't have all of its vertices\n";
inline constexpr std::string_view kMessageDerailed =
    "GetNextIndex: Duplicate triangle probably got us derailed\n";

// Receives the builder's messages (each ends with a newline).
using StripMessageSink = std::function<void(std::string_view message)>;

// Writes a message to standard output: the default sink.
void print_strip_message(std::string_view message);

// The cache size the builder works with: cache_size - 6, but at least 1.
int effective_cache_size(int cache_size);

// Reorders the triangles of `indices` (three per triangle) for the vertex cache
// and returns the primitive groups:
// - lists only: exactly one list group with every kept triangle, strip by
//   strip, then the loose faces; degenerate triangles are left out;
// - strip mode: one strip group (stitching on; empty when every strip was
//   dissolved) or one per strip (stitching off), then a list group with the
//   loose faces when there is any (swap faces of dissolved strips included).
// A triangle given twice with the same index order is kept once. Trailing
// indices that do not make a whole triangle are ignored. An input without a
// single non-degenerate triangle gives one empty list group in either mode.
// Messages go to `sink` (none when it is empty).
std::vector<PrimitiveGroup> generate_strips(std::span<const std::uint16_t> indices,
                                            const StripSettings& settings,
                                            const StripMessageSink& sink = print_strip_message);

// generate_strips for 32-bit indices, for surfaces larger than the 16-bit
// indices of a .3da file allow (tools and measurements). The working tables
// indexed by vertex take (largest index + 1) entries.
std::vector<PrimitiveGroup32> generate_strips32(std::span<const std::uint32_t> indices,
                                                const StripSettings& settings,
                                                const StripMessageSink& sink = print_strip_message);

// Process-wide settings and message sink, kept between calls; the overload of
// generate_strips without settings reads them. Not safe to use from several
// threads at once.
void set_lists_only(bool on);
void set_stitch_strips(bool on);
void set_min_strip_length(int length);
void set_cache_size(int size);
void set_strip_message_sink(StripMessageSink sink);
StripSettings strip_settings();

// generate_strips with the process-wide settings and message sink.
std::vector<PrimitiveGroup> generate_strips(std::span<const std::uint16_t> indices);

}  // namespace model3da
