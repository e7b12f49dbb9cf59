// Evaluation and cloning of the keyed track classes.
#include "model3da/math.h"
#include "model3da/tracks.h"

namespace model3da {
namespace {

template <int N, class KeyT>
void lerp_values(std::array<float, 4>& out, const KeyT& a, const KeyT& b, float s) {
  for (int i = 0; i < N; ++i) out[i] = a.value[i] + (b.value[i] - a.value[i]) * s;
}

// Cubic Bezier between key a's value and key b's value with a's out handle
// and b's in handle.
template <int N>
void bezier_values(std::array<float, 4>& out, const BezierKey<N>& a, const BezierKey<N>& b,
                   float s) {
  const float r = 1.0f - s;
  for (int i = 0; i < N; ++i) {
    out[i] = r * r * r * a.value[i] + 3 * r * r * s * a.out_handle[i] +
             3 * r * s * s * b.in_handle[i] + s * s * s * b.value[i];
  }
}

// Hermite form over key i's out tangent and key i + 1's in tangent.
void hermite_values(std::array<float, 4>& out, int n, const float* v0, const float* out0,
                    const float* v1, const float* in1, float s) {
  const float s2 = s * s, s3 = s2 * s;
  const float h00 = 2 * s3 - 3 * s2 + 1;
  const float h10 = s3 - 2 * s2 + s;
  const float h01 = 3 * s2 - 2 * s3;
  const float h11 = s3 - s2;
  for (int c = 0; c < n; ++c) out[c] = h00 * v0[c] + h10 * out0[c] + h01 * v1[c] + h11 * in1[c];
}

template <int N>
void prepare_tcb(const KeyArray<TcbKey<N>>& keys, std::vector<float>& in, std::vector<float>& out) {
  const int count = keys.count();
  std::vector<float> values(size_t(count) * N);
  std::vector<int32_t> times(count);
  std::vector<float> tension(count), continuity(count), bias(count);
  for (int k = 0; k < count; ++k) {
    const TcbKey<N> key = keys[k];
    times[k] = key.frame;
    tension[k] = key.tension;
    continuity[k] = key.continuity;
    bias[k] = key.bias;
    for (int c = 0; c < N; ++c) values[size_t(k) * N + c] = key.value[c];
  }
  in.assign(values.size(), 0.0f);
  out.assign(values.size(), 0.0f);
  tcb_tangents(values, N, times, tension, continuity, bias, in, out);
}

}  // namespace

// Linear tracks.
LINEARTrack1D_c::LINEARTrack1D_c(KeyArray<Key> keys)
    : KeyedTrack(Interpolation::LINEAR, 1, std::move(keys)) {}
LINEARTrack3D_c::LINEARTrack3D_c(KeyArray<Key> keys)
    : KeyedTrack(Interpolation::LINEAR, 3, std::move(keys)) {}
LINEARTrack4D_c::LINEARTrack4D_c(KeyArray<Key> keys)
    : KeyedTrack(Interpolation::LINEAR, 4, std::move(keys)) {}

std::unique_ptr<Track_c> LINEARTrack1D_c::clone() const {
  return std::make_unique<LINEARTrack1D_c>(keys_.owned_copy());
}
std::unique_ptr<Track_c> LINEARTrack3D_c::clone() const {
  return std::make_unique<LINEARTrack3D_c>(keys_.owned_copy());
}
std::unique_ptr<Track_c> LINEARTrack4D_c::clone() const {
  return std::make_unique<LINEARTrack4D_c>(keys_.owned_copy());
}

int LINEARTrack1D_c::evaluate(float time, int hint) {
  if (keys_.count() <= 1) return 0;
  const Segment seg = find_segment(time, hint);
  lerp_values<1>(value_, keys_[seg.index], keys_[seg.index + 1], seg.fraction);
  return seg.index;
}

int LINEARTrack3D_c::evaluate(float time, int hint) {
  if (keys_.count() <= 1) return 0;
  const Segment seg = find_segment(time, hint);
  lerp_values<3>(value_, keys_[seg.index], keys_[seg.index + 1], seg.fraction);
  return seg.index;
}

int LINEARTrack4D_c::evaluate(float time, int hint) {
  if (keys_.count() <= 1) return 0;
  const Segment seg = find_segment(time, hint);
  const Quat q = slerp(keys_[seg.index].value, keys_[seg.index + 1].value, seg.fraction);
  for (int i = 0; i < 4; ++i) value_[i] = q[i];
  return seg.index;
}

// Bezier tracks.
BEZIERTrack1D_c::BEZIERTrack1D_c(KeyArray<Key> keys)
    : KeyedTrack(Interpolation::BEZIER, 1, std::move(keys)) {}
BEZIERTrack3D_c::BEZIERTrack3D_c(KeyArray<Key> keys)
    : KeyedTrack(Interpolation::BEZIER, 3, std::move(keys)) {}
BEZIERTrack4D_c::BEZIERTrack4D_c(KeyArray<Key> keys)
    : KeyedTrack(Interpolation::BEZIER, 4, std::move(keys)) {}

std::unique_ptr<Track_c> BEZIERTrack1D_c::clone() const {
  return std::make_unique<BEZIERTrack1D_c>(keys_.owned_copy());
}
std::unique_ptr<Track_c> BEZIERTrack3D_c::clone() const {
  return std::make_unique<BEZIERTrack3D_c>(keys_.owned_copy());
}
std::unique_ptr<Track_c> BEZIERTrack4D_c::clone() const {
  return nullptr;
}

int BEZIERTrack1D_c::evaluate(float time, int hint) {
  if (keys_.count() <= 1) return 0;
  const Segment seg = find_segment(time, hint);
  bezier_values<1>(value_, keys_[seg.index], keys_[seg.index + 1], seg.fraction);
  return seg.index;
}

int BEZIERTrack3D_c::evaluate(float time, int hint) {
  if (keys_.count() <= 1) return 0;
  const Segment seg = find_segment(time, hint);
  bezier_values<3>(value_, keys_[seg.index], keys_[seg.index + 1], seg.fraction);
  return seg.index;
}

int BEZIERTrack4D_c::evaluate(float, int) {
  return 0;
}

// TCB tracks.
TCBTrack1D_c::TCBTrack1D_c(KeyArray<Key> keys)
    : KeyedTrack(Interpolation::TCB, 1, std::move(keys)) {
  prepare_tcb(keys_, in_tangents_, out_tangents_);
}
TCBTrack3D_c::TCBTrack3D_c(KeyArray<Key> keys)
    : KeyedTrack(Interpolation::TCB, 3, std::move(keys)) {
  prepare_tcb(keys_, in_tangents_, out_tangents_);
}
TCBTrack4D_c::TCBTrack4D_c(KeyArray<Key> keys)
    : KeyedTrack(Interpolation::TCB, 4, std::move(keys)) {}

std::unique_ptr<Track_c> TCBTrack1D_c::clone() const {
  return std::make_unique<TCBTrack1D_c>(keys_.owned_copy());
}
std::unique_ptr<Track_c> TCBTrack3D_c::clone() const {
  return std::make_unique<TCBTrack3D_c>(keys_.owned_copy());
}
std::unique_ptr<Track_c> TCBTrack4D_c::clone() const {
  return std::make_unique<TCBTrack4D_c>(keys_.owned_copy());
}

int TCBTrack1D_c::evaluate(float time, int hint) {
  if (keys_.count() <= 1) return 0;
  const Segment seg = find_segment(time, hint);
  const size_t i = size_t(seg.index);
  const float v0 = keys_[seg.index].value[0];
  const float v1 = keys_[seg.index + 1].value[0];
  hermite_values(value_, 1, &v0, &out_tangents_[i], &v1, &in_tangents_[i + 1], seg.fraction);
  return seg.index;
}

int TCBTrack3D_c::evaluate(float time, int hint) {
  if (keys_.count() <= 1) return 0;
  const Segment seg = find_segment(time, hint);
  const size_t i = size_t(seg.index);
  const auto v0 = keys_[seg.index].value;
  const auto v1 = keys_[seg.index + 1].value;
  hermite_values(value_, 3, v0.data(), &out_tangents_[i * 3], v1.data(), &in_tangents_[i * 3 + 3],
                 seg.fraction);
  return seg.index;
}

int TCBTrack4D_c::evaluate(float time, int hint) {
  if (keys_.count() <= 1) return 0;
  return find_segment(time, hint).index;
}

}  // namespace model3da
