// Key layouts of the track classes and the key array that a track reads them
// from: either a view of the loaded file's bytes or a block of its own.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model3da/byte_io.h"

namespace model3da {

// The segment of a track that holds a time: key `index` and the fraction of
// the way to key index + 1.
struct Segment {
  int index = 0;
  float fraction = 0.0f;
};

// Linear key (also the 20-byte quaternion key of BEZIERTrack4D_c): frame and
// value. 8, 16 or 20 bytes for 1, 3 or 4 components.
template <int N>
struct LinearKey {
  static constexpr uint32_t kSize = 4 + 4 * N;
  int32_t frame = 0;
  std::array<float, N> value{};

  static LinearKey read(const std::byte* p) {
    LinearKey k;
    k.frame = read_i32(p);
    for (int i = 0; i < N; ++i) k.value[i] = read_f32(p + 4 + 4 * i);
    return k;
  }
  void append(Bytes& out) const {
    append_i32(out, frame);
    append_floats(out, value);
  }
};

// TCB key: frame, tension, continuity, bias, ease in, ease out, value, in
// tangent, out tangent. 36, 60 or 72 bytes for 1, 3 or 4 components.
template <int N>
struct TcbKey {
  static constexpr uint32_t kSize = 24 + 12 * N;
  int32_t frame = 0;
  float tension = 0, continuity = 0, bias = 0, ease_in = 0, ease_out = 0;
  std::array<float, N> value{};
  std::array<float, N> in_tangent{};
  std::array<float, N> out_tangent{};

  static TcbKey read(const std::byte* p) {
    TcbKey k;
    k.frame = read_i32(p);
    k.tension = read_f32(p + 4);
    k.continuity = read_f32(p + 8);
    k.bias = read_f32(p + 12);
    k.ease_in = read_f32(p + 16);
    k.ease_out = read_f32(p + 20);
    for (int i = 0; i < N; ++i) {
      k.value[i] = read_f32(p + 24 + 4 * i);
      k.in_tangent[i] = read_f32(p + 24 + 4 * (N + i));
      k.out_tangent[i] = read_f32(p + 24 + 4 * (2 * N + i));
    }
    return k;
  }
  void append(Bytes& out) const {
    append_i32(out, frame);
    for (float f : {tension, continuity, bias, ease_in, ease_out}) append_f32(out, f);
    append_floats(out, value);
    append_floats(out, in_tangent);
    append_floats(out, out_tangent);
  }
};

// Bezier key with absolute handles: frame, in handle, out handle, value.
// 16 or 40 bytes for 1 or 3 components.
template <int N>
struct BezierKey {
  static constexpr uint32_t kSize = 4 + 12 * N;
  int32_t frame = 0;
  std::array<float, N> in_handle{};
  std::array<float, N> out_handle{};
  std::array<float, N> value{};

  static BezierKey read(const std::byte* p) {
    BezierKey k;
    k.frame = read_i32(p);
    for (int i = 0; i < N; ++i) {
      k.in_handle[i] = read_f32(p + 4 + 4 * i);
      k.out_handle[i] = read_f32(p + 4 + 4 * (N + i));
      k.value[i] = read_f32(p + 4 + 4 * (2 * N + i));
    }
    return k;
  }
  void append(Bytes& out) const {
    append_i32(out, frame);
    append_floats(out, in_handle);
    append_floats(out, out_handle);
    append_floats(out, value);
  }
};

// The keys of one track: a view of `count` key images in a loaded file, or a
// block of its own (owned). Keys are decoded on access.
template <class Key>
class KeyArray {
 public:
  KeyArray() = default;
  KeyArray(KeyArray&&) noexcept = default;
  KeyArray& operator=(KeyArray&&) noexcept = default;

  // A view of key images that stay valid while the array is used.
  static KeyArray view(const std::byte* data, int32_t count) {
    KeyArray a;
    a.data_ = data;
    a.count_ = count;
    return a;
  }

  // An owned array holding the images of `keys`.
  static KeyArray own(std::span<const Key> keys) {
    KeyArray a;
    for (const Key& k : keys) k.append(a.owned_);
    a.data_ = a.owned_.data();
    a.count_ = static_cast<int32_t>(keys.size());
    return a;
  }

  // An owned copy of these keys.
  KeyArray owned_copy() const {
    KeyArray a;
    a.owned_.assign(data_, data_ + size_t(count_) * Key::kSize);
    a.data_ = a.owned_.data();
    a.count_ = count_;
    return a;
  }

  int32_t count() const { return count_; }
  bool owned() const { return !owned_.empty(); }
  Key operator[](int i) const { return Key::read(data_ + size_t(i) * Key::kSize); }
  int32_t time(int i) const { return read_i32(data_ + size_t(i) * Key::kSize); }
  std::span<const std::byte> bytes() const { return {data_, size_t(count_) * Key::kSize}; }

 private:
  const std::byte* data_ = nullptr;
  int32_t count_ = 0;
  std::vector<std::byte> owned_;
};

// Finds the segment of `time` among `count` keys whose times `time_of(i)`
// do not decrease. Before the first key: segment 0, fraction 0. At or after
// the last: segment count - 2, fraction 1. Otherwise steps forward from the
// hint when the time lies at or after key hint and before key
// min(hint + 50, count - 1), backward when it lies before key hint and at or
// after key max(hint - 50, 0), and else searches the whole track by halves.
// With fewer than two keys the result is segment 0, fraction 0.
template <class TimeOf>
Segment find_key_segment(int count, double time, int hint, TimeOf time_of) {
  constexpr int kHintReach = 50;
  if (count < 2 || time < time_of(0)) return {0, 0.0f};
  if (time >= time_of(count - 1)) return {count - 2, 1.0f};
  int i = 0;
  if (hint >= 0 && hint < count && time >= time_of(hint) &&
      time < time_of(std::min(hint + kHintReach, count - 1))) {
    i = hint;
    while (time_of(i + 1) <= time) ++i;
  } else if (hint >= 0 && hint < count && time < time_of(hint) &&
             time >= time_of(std::max(hint - kHintReach, 0))) {
    i = hint;
    while (time_of(i) > time) --i;
  } else {
    int lo = 0, hi = count - 1;  // time(lo) <= time < time(hi)
    while (hi - lo > 1) {
      const int mid = lo + (hi - lo) / 2;
      if (time_of(mid) <= time) {
        lo = mid;
      } else {
        hi = mid;
      }
    }
    i = lo;
  }
  const double t0 = time_of(i);
  const double t1 = time_of(i + 1);
  return {i, static_cast<float>((time - t0) / (t1 - t0))};
}

}  // namespace model3da
