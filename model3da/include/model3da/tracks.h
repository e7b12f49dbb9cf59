// The animation track classes of a node: Track_c and its ten classes.
//
// A track block in a file is a header (class marker, owner flag, keyCount,
// interpolation, keysOffset, current value of 1, 3 or 4 floats; 21, 29 or 33
// bytes) followed by its keys; an Euler track is a 56-byte image with three
// 1-component sub-tracks. A loaded track reads its keys from the file's block
// (a view, owner flag clear); a clone or a track built in memory owns them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model3da/byte_io.h"
#include "model3da/track_keys.h"

namespace model3da {

enum class Interpolation : int32_t { TCB = 1, BEZIER = 2, LINEAR = 3, EULER = 4 };

inline constexpr uint32_t track_header_size(int components) {
  return 17 + 4 * components;
}
inline constexpr uint32_t kEulerTrackSize = 56;

class Track_c {
 public:
  virtual ~Track_c() = default;  // destroy: owned keys go with the object

  // A new track of the same class with its own copy of the keys (owner flag
  // set); BEZIERTrack4D_c gives none.
  virtual std::unique_ptr<Track_c> clone() const = 0;

  // Sets the current value to the value at `time` (frames) and returns the
  // key segment index. With one key it returns 0 and leaves the current value
  // alone. BEZIERTrack4D_c returns 0; TCBTrack4D_c only finds the segment.
  virtual int evaluate(float time, int hint) = 0;

  // The current value: 1, 3 or 4 components (4D and Euler: x, y, z, w).
  std::span<const float> current_value() const { return {value_.data(), size_t(components_)}; }

  // Frame number of key `index` (EULERTrack_c: of its X sub-track); 0 for an
  // index outside the keys.
  virtual int32_t key_time(int index) const = 0;

  // Segment index and fraction of `time` (see find_key_segment);
  // EULERTrack_c gives segment 0.
  virtual Segment find_segment(float time, int hint) const = 0;

  // The keyCount field (EULERTrack_c: 2, as stored).
  virtual int32_t key_count() const = 0;

  // The class name, e.g. "LINEARTrack3D_c".
  virtual const char* class_name() const = 0;

  // Appends the track's file image as it will lie at `block_offset`: the
  // header (owner flag 0, keysOffset = block_offset + header size, current
  // value written as zero, 4D as (0, 0, 0, 1)) and the keys as stored.
  virtual void write(Bytes& out, uint32_t block_offset) const = 0;

  // Bytes that write() appends.
  virtual uint32_t image_size() const = 0;

  Interpolation interpolation() const { return interpolation_; }
  int components() const { return components_; }
  virtual bool owns_keys() const = 0;

 protected:
  Track_c(Interpolation interpolation, int components);

  Interpolation interpolation_;
  int components_;
  std::array<float, 4> value_{};
};

// Shared part of the keyed classes (all but EULERTrack_c): keys, key time,
// find segment, writing.
template <class Key>
class KeyedTrack : public Track_c {
 public:
  int32_t key_time(int index) const override {
    return index >= 0 && index < keys_.count() ? keys_.time(index) : 0;
  }
  Segment find_segment(float time, int hint) const override {
    return find_key_segment(keys_.count(), time, hint, [this](int i) { return keys_.time(i); });
  }
  int32_t key_count() const override { return keys_.count(); }
  bool owns_keys() const override { return keys_.owned(); }
  uint32_t image_size() const override {
    return track_header_size(components_) + uint32_t(keys_.count()) * Key::kSize;
  }
  void write(Bytes& out, uint32_t block_offset) const override;
  const KeyArray<Key>& keys() const { return keys_; }

 protected:
  KeyedTrack(Interpolation interpolation, int components, KeyArray<Key> keys);
  KeyArray<Key> keys_;
};

#define MODEL3DA_TRACK_CLASS(Name, KeyType)                                              \
  class Name final : public KeyedTrack<KeyType> {                                        \
   public:                                                                               \
    using Key = KeyType;                                                                 \
    explicit Name(KeyArray<KeyType> keys);                                               \
    explicit Name(std::span<const KeyType> keys) : Name(KeyArray<KeyType>::own(keys)) {} \
    std::unique_ptr<Track_c> clone() const override;                                     \
    int evaluate(float time, int hint) override;                                         \
    const char* class_name() const override { return #Name; }                            \
                                                                                         \
   private:                                                                              \
    std::vector<float> in_tangents_, out_tangents_;                                      \
  }

MODEL3DA_TRACK_CLASS(LINEARTrack1D_c, LinearKey<1>);
MODEL3DA_TRACK_CLASS(LINEARTrack3D_c, LinearKey<3>);
MODEL3DA_TRACK_CLASS(LINEARTrack4D_c, LinearKey<4>);
MODEL3DA_TRACK_CLASS(TCBTrack1D_c, TcbKey<1>);
MODEL3DA_TRACK_CLASS(TCBTrack3D_c, TcbKey<3>);
MODEL3DA_TRACK_CLASS(TCBTrack4D_c, TcbKey<4>);
MODEL3DA_TRACK_CLASS(BEZIERTrack1D_c, BezierKey<1>);
MODEL3DA_TRACK_CLASS(BEZIERTrack3D_c, BezierKey<3>);
MODEL3DA_TRACK_CLASS(BEZIERTrack4D_c, LinearKey<4>);

#undef MODEL3DA_TRACK_CLASS

// Euler rotation: three 1-component sub-tracks (X, Y, Z) and an axis order;
// the current value is the quaternion of the three angles (radians), the
// rotation about the order's first axis applied first.
class EULERTrack_c final : public Track_c {
 public:
  EULERTrack_c(std::array<std::unique_ptr<Track_c>, 3> axes, std::array<uint32_t, 3> order);

  std::unique_ptr<Track_c> clone() const override;
  int evaluate(float time, int hint) override;
  int32_t key_time(int index) const override { return axes_[0]->key_time(index); }
  Segment find_segment(float, int) const override { return {0, 0.0f}; }
  int32_t key_count() const override { return 2; }
  const char* class_name() const override { return "EULERTrack_c"; }
  void write(Bytes& out, uint32_t block_offset) const override;
  uint32_t image_size() const override;
  bool owns_keys() const override { return axes_[0]->owns_keys(); }

  const Track_c& axis(int i) const { return *axes_[i]; }
  const std::array<uint32_t, 3>& order() const { return order_; }

 private:
  void update_value();

  std::array<std::unique_ptr<Track_c>, 3> axes_;
  std::array<uint32_t, 3> order_;
};

// Where a track block sits in its node: position and scale tracks hold 3
// components, the rotation track 4 (or an Euler track).
enum class TrackRole { kPosition, kRotation, kScale };

// Result of reading one track block from a file.
struct TrackReadResult {
  std::unique_ptr<Track_c> track;  // null on failure
  std::string error;               // names the field that is wrong
};

// Checks the track block at `offset` of `file` and binds it to its class by
// `interpolation` and role (prepare: the keys are read from `file`, which must
// outlive the track; the current value is taken from key 0; TCB 1D and 3D
// tracks compute their tangents). Refuses blocks or keys outside the file,
// interpolation codes outside 1..4, key counts below 1, key times that go
// backwards, Euler sub-tracks that are not 1-component tracks and axis
// indices outside 0..2.
TrackReadResult read_track(std::span<const std::byte> file, uint32_t offset, TrackRole role);

// Three one-key linear tracks of a static node: position (frame 0), rotation
// (a quaternion) and scale.
std::unique_ptr<Track_c> constant_position_track(const std::array<float, 3>& position);
std::unique_ptr<Track_c> constant_rotation_track(const std::array<float, 4>& rotation);
std::unique_ptr<Track_c> constant_scale_track(const std::array<float, 3>& scale);

// Kochanek–Bartels tangents of the values `v` (count keys, `n` components
// each, key-major) at the key `times`, with per-key tension, continuity and
// bias. Inner keys use both neighbours, scaled for uneven key spacing; the
// end keys use the two nearest keys; two keys give (v1 - v0)(1 - tension) for
// both. Each key's in and out tangent are written (count * n floats each).
void tcb_tangents(std::span<const float> v, int n, std::span<const int32_t> times,
                  std::span<const float> tension, std::span<const float> continuity,
                  std::span<const float> bias, std::span<float> in, std::span<float> out);

}  // namespace model3da
