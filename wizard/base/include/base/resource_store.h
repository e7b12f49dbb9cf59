// The program's embedded resources: byte blocks compiled into the program and
// found by a type name and a resource name (or number), as Carwright's
// templates, assets and the extractor program are.
//
// Resource tables are produced by the build (cmake/GmResources.cmake) and
// register themselves when the program starts; lookups search every table
// linked into the program. Names and types are compared without regard to
// ASCII case, numbers are names written in decimal ("11").
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wizard {

// One embedded resource as the generated table describes it: the bytes lie
// from `begin` up to (not including) `end`.
struct ResourceRecord {
  const char* type;
  const char* name;
  const unsigned char* begin;
  const unsigned char* end;
};

// Adds `count` records to the lookup; called by generated tables during
// program start. Returns true (the value only anchors the static registration).
bool RegisterResourceTable(const ResourceRecord* records, std::size_t count);

// The bytes of resource `name` of `type`, or nothing when the program holds no
// such resource. The bytes live as long as the program.
std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view type,
                                                                   std::string_view name);
std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view type,
                                                                   unsigned number);

// The resource's bytes as text, one character per byte, NUL padding included.
// An empty text when the resource is missing (use FindEmbeddedResource to tell a
// missing resource from an empty one).
std::string LoadResText(std::string_view name, std::string_view type);

}  // namespace wizard
