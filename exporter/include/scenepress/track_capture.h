// Track capture: the host's transform controllers of a node become the
// position, rotation and scale tracks of its record.
//
// Key times are ticks divided by the ticks per frame. Keyframe controllers
// (TCB, linear, Bezier) give one key per host key; a controller without
// keys, or any with "no animation", gives a one-key linear track of its
// value at time 0. TCB rotation keys become running products with squad
// tangents (QCompA), Bezier rotation keys running products, Euler
// controllers three float sub-tracks. A Biped node is sampled at the key
// times of itself and its ancestors and has no scale track.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/node.h"
#include "model3da/tracks.h"

namespace scenepress {

struct CaptureSettings {
  bool no_animation = false;
  Interval range;  // the animation range, ticks
  int ticks_per_frame = 160;
};

// Receives each message the capture shows (the capture then fails).
using CaptureReport = std::function<void(const std::string&)>;
// Receives the debugger output lines of the Biped capture.
using DebugOutput = std::function<void(const std::string&)>;

struct CapturedTracks {
  std::unique_ptr<model3da::Track_c> position, rotation, scale;
  bool biped = false;  // the node is a bone sampled from a Biped controller
};

// Captures the node's tracks. Returns false after reporting why.
bool capture_tracks(INode* node, const CaptureSettings& settings, const CaptureReport& report,
                    const DebugOutput& debug, CapturedTracks& out);

// The single tracks, exposed for the node exporters and tests; each returns
// null after reporting.
std::unique_ptr<model3da::Track_c> capture_position(Control* c, const CaptureSettings& settings,
                                                    const CaptureReport& report);
std::unique_ptr<model3da::Track_c> capture_scale(Control* c, const CaptureSettings& settings,
                                                 const CaptureReport& report);
std::unique_ptr<model3da::Track_c> capture_rotation(Control* c, const CaptureSettings& settings,
                                                    const CaptureReport& report);
std::unique_ptr<model3da::Track_c> capture_float(Control* c, const CaptureSettings& settings,
                                                 const CaptureReport& report);

// The Euler axis order named in a controller's class name: the first of
// XYZ, XZY, YZX, YXZ, ZXY, ZYX, XYX, YZY, ZXZ found in it, else XYZ; as axis
// indices (0 x, 1 y, 2 z).
std::array<uint32_t, 3> euler_axis_order(const std::string& class_name);

// Squad tangents of a run of rotation keys: for each key k, A(k) =
// QCompA(q(k-1), q(k), q(k+1)) with the ends repeated; A(k) is key k's out
// tangent and key k+1's in tangent (key 0's in tangent stays zero).
void squad_tangents(std::vector<model3da::TcbKey<4>>& keys);

// The sampled capture of a Biped node: position and rotation of its local
// transform at every key time (TCB tracks), or, without key times, one-key
// linear tracks (the world translation and the local rotation at time 0).
// No scale track. Writes the key times to `debug`.
void capture_biped(INode* node, const CaptureSettings& settings, const DebugOutput& debug,
                   CapturedTracks& out);

// The Biped key times of the node and all its ancestors, in ticks, sorted,
// each once.
std::vector<TimeValue> biped_key_times(INode* node, Interval range);

}  // namespace scenepress
