// EULERTrack_c: a rotation made of three 1-component angle tracks.
#include "model3da/math.h"
#include "model3da/tracks.h"

namespace model3da {

EULERTrack_c::EULERTrack_c(std::array<std::unique_ptr<Track_c>, 3> axes,
                           std::array<uint32_t, 3> order)
    : Track_c(Interpolation::EULER, 4), axes_(std::move(axes)), order_(order) {
  update_value();
}

void EULERTrack_c::update_value() {
  // Angle tracks are indexed by axis (X, Y, Z); the order names which axis
  // turns first.
  Quat q{0.0f, 0.0f, 0.0f, 1.0f};
  for (uint32_t axis : order_) {
    const float angle = axes_[axis]->current_value()[0];
    q = quat_multiply(axis_quat(int(axis), angle), q);
  }
  for (int i = 0; i < 4; ++i) value_[i] = q[i];
}

std::unique_ptr<Track_c> EULERTrack_c::clone() const {
  std::array<std::unique_ptr<Track_c>, 3> axes;
  for (int i = 0; i < 3; ++i) axes[i] = axes_[i]->clone();
  return std::make_unique<EULERTrack_c>(std::move(axes), order_);
}

int EULERTrack_c::evaluate(float time, int hint) {
  int segment = 0;
  for (int i = 0; i < 3; ++i) {
    const int s = axes_[i]->evaluate(time, hint);
    if (i == 0) segment = s;
  }
  update_value();
  return segment;
}

uint32_t EULERTrack_c::image_size() const {
  return kEulerTrackSize + axes_[0]->image_size() + axes_[1]->image_size() + axes_[2]->image_size();
}

void EULERTrack_c::write(Bytes& out, uint32_t block_offset) const {
  append_u32(out, uint32_t(Interpolation::EULER) * 16 + 4);
  append_u8(out, 0);
  append_i32(out, 2);
  append_i32(out, int32_t(Interpolation::EULER));
  out.insert(out.end(), 3, std::byte{0});
  uint32_t sub_offset = block_offset + kEulerTrackSize;
  for (const auto& axis : axes_) {
    append_u32(out, sub_offset);
    sub_offset += axis->image_size();
  }
  for (uint32_t axis : order_) append_u32(out, axis);
  append_floats(out, std::array<float, 4>{0.0f, 0.0f, 0.0f, 1.0f});
  sub_offset = block_offset + kEulerTrackSize;
  for (const auto& axis : axes_) {
    axis->write(out, sub_offset);
    sub_offset += axis->image_size();
  }
}

}  // namespace model3da
