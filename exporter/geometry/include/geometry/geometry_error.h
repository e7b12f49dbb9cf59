// The ways the geometry export of one mesh can fail, each with the message
// the plug-in shows.
#pragma once

#include <string>

namespace geometry {

enum class GeometryErrorKind {
  kNone,
  kInvalidInput,       // the mesh description itself is inconsistent
  kNoMapping,          // "No mapping applied for mesh: %s"
  kTooManyVertices,    // a surface welds to more than 65535 vertices
  kWeldMapUnreadable,  // morph target: the weld map cannot be opened
  kWeldMapMismatch,    // morph target: the weld map does not fit the surface
  kWeldMapUnwritable,  // morph source: the weld map cannot be written
};

struct GeometryError {
  GeometryErrorKind kind = GeometryErrorKind::kNone;
  std::string message;

  explicit operator bool() const { return kind != GeometryErrorKind::kNone; }
};

}  // namespace geometry
