// Track_c basics, the keyed track template and reading track blocks.
#include <fmt/format.h>

#include "model3da/tracks.h"

namespace model3da {
namespace {

uint32_t class_marker(Interpolation interpolation, int components) {
  return uint32_t(interpolation) * 16 + uint32_t(components);
}

template <class Track>
TrackReadResult bind_keys(const std::byte* file_base, size_t file_size, uint32_t keys_offset,
                          int32_t key_count) {
  using Key = typename Track::Key;
  if (!range_fits(file_size, keys_offset, uint64_t(key_count), Key::kSize)) {
    return {nullptr, fmt::format("keysOffset {} with keyCount {} runs past the end of the file",
                                 keys_offset, key_count)};
  }
  const std::byte* keys = file_base + keys_offset;
  for (int32_t i = 1; i < key_count; ++i) {
    if (read_i32(keys + size_t(i) * Key::kSize) < read_i32(keys + size_t(i - 1) * Key::kSize)) {
      return {nullptr, fmt::format("key {} lies before key {} in time", i, i - 1)};
    }
  }
  return {std::make_unique<Track>(KeyArray<Key>::view(keys, key_count)), {}};
}

template <class T1, class T3, class T4>
TrackReadResult bind_by_components(int components, const std::byte* base, size_t size,
                                   uint32_t keys_offset, int32_t key_count) {
  switch (components) {
    case 1:
      return bind_keys<T1>(base, size, keys_offset, key_count);
    case 3:
      return bind_keys<T3>(base, size, keys_offset, key_count);
    default:
      return bind_keys<T4>(base, size, keys_offset, key_count);
  }
}

TrackReadResult read_keyed_track(std::span<const std::byte> file, uint32_t offset, int components,
                                 bool allow_euler, int depth);

TrackReadResult read_euler_track(std::span<const std::byte> file, uint32_t offset, int depth) {
  if (!range_fits(file.size(), offset, 1, kEulerTrackSize)) {
    return {nullptr, fmt::format("Euler track block at {} runs past the end of the file", offset)};
  }
  const std::byte* p = file.data() + offset;
  std::array<std::unique_ptr<Track_c>, 3> axes;
  std::array<uint32_t, 3> order{};
  static constexpr const char* kAxis = "XYZ";
  for (int i = 0; i < 3; ++i) {
    order[i] = read_u32(p + 28 + 4 * i);
    if (order[i] > 2) {
      return {nullptr, fmt::format("Euler axis order entry {} is {}, not 0 to 2", i, order[i])};
    }
    const uint32_t sub_offset = read_u32(p + 16 + 4 * i);
    TrackReadResult sub = read_keyed_track(file, sub_offset, 1, false, depth + 1);
    if (!sub.track) {
      return {nullptr,
              fmt::format("Euler {} sub-track at {}: {}", kAxis[i], sub_offset, sub.error)};
    }
    axes[i] = std::move(sub.track);
  }
  return {std::make_unique<EULERTrack_c>(std::move(axes), order), {}};
}

TrackReadResult read_keyed_track(std::span<const std::byte> file, uint32_t offset, int components,
                                 bool allow_euler, int depth) {
  if (offset == 0 || !range_fits(file.size(), offset, 1, track_header_size(1))) {
    return {nullptr, fmt::format("track block at {} lies outside the file", offset)};
  }
  const std::byte* p = file.data() + offset;
  const int32_t key_count = read_i32(p + 5);
  const int32_t interpolation = read_i32(p + 9);
  if (interpolation == int32_t(Interpolation::EULER) && allow_euler && depth == 0) {
    return read_euler_track(file, offset, depth);
  }
  if (interpolation < 1 || interpolation > 3) {
    return {nullptr, fmt::format("interpolation {} is not {}", interpolation,
                                 allow_euler ? "1 to 4" : "1 to 3 (a 1-component track)")};
  }
  if (!range_fits(file.size(), offset, 1, track_header_size(components))) {
    return {nullptr, fmt::format("track block at {} runs past the end of the file", offset)};
  }
  if (key_count < 1) return {nullptr, fmt::format("keyCount {} is not positive", key_count)};
  const uint32_t keys_offset = read_u32(p + 13);
  const std::byte* base = file.data();
  switch (Interpolation(interpolation)) {
    case Interpolation::TCB:
      return bind_by_components<TCBTrack1D_c, TCBTrack3D_c, TCBTrack4D_c>(
          components, base, file.size(), keys_offset, key_count);
    case Interpolation::BEZIER:
      return bind_by_components<BEZIERTrack1D_c, BEZIERTrack3D_c, BEZIERTrack4D_c>(
          components, base, file.size(), keys_offset, key_count);
    default:
      return bind_by_components<LINEARTrack1D_c, LINEARTrack3D_c, LINEARTrack4D_c>(
          components, base, file.size(), keys_offset, key_count);
  }
}

}  // namespace

Track_c::Track_c(Interpolation interpolation, int components)
    : interpolation_(interpolation), components_(components) {
  if (components == 4) value_[3] = 1.0f;
}

template <class Key>
KeyedTrack<Key>::KeyedTrack(Interpolation interpolation, int components, KeyArray<Key> keys)
    : Track_c(interpolation, components), keys_(std::move(keys)) {
  if (keys_.count() > 0) {
    const Key first = keys_[0];
    for (int i = 0; i < components; ++i) value_[i] = first.value[i];
  }
}

template <class Key>
void KeyedTrack<Key>::write(Bytes& out, uint32_t block_offset) const {
  append_u32(out, class_marker(interpolation_, components_));
  append_u8(out, 0);
  append_i32(out, keys_.count());
  append_i32(out, int32_t(interpolation_));
  append_u32(out, block_offset + track_header_size(components_));
  for (int i = 0; i < components_; ++i) append_f32(out, components_ == 4 && i == 3 ? 1.0f : 0.0f);
  append_bytes(out, keys_.bytes());
}

template class KeyedTrack<LinearKey<1>>;
template class KeyedTrack<LinearKey<3>>;
template class KeyedTrack<LinearKey<4>>;
template class KeyedTrack<TcbKey<1>>;
template class KeyedTrack<TcbKey<3>>;
template class KeyedTrack<TcbKey<4>>;
template class KeyedTrack<BezierKey<1>>;
template class KeyedTrack<BezierKey<3>>;

TrackReadResult read_track(std::span<const std::byte> file, uint32_t offset, TrackRole role) {
  return read_keyed_track(file, offset, role == TrackRole::kRotation ? 4 : 3, true, 0);
}

std::unique_ptr<Track_c> constant_position_track(const std::array<float, 3>& position) {
  const LinearKey<3> key{0, position};
  return std::make_unique<LINEARTrack3D_c>(std::span<const LinearKey<3>>(&key, 1));
}

std::unique_ptr<Track_c> constant_rotation_track(const std::array<float, 4>& rotation) {
  const LinearKey<4> key{0, rotation};
  return std::make_unique<LINEARTrack4D_c>(std::span<const LinearKey<4>>(&key, 1));
}

std::unique_ptr<Track_c> constant_scale_track(const std::array<float, 3>& scale) {
  const LinearKey<3> key{0, scale};
  return std::make_unique<LINEARTrack3D_c>(std::span<const LinearKey<3>>(&key, 1));
}

}  // namespace model3da
