// Track classes: segments, evaluation, TCB tangents, cloning and block
// images.
#include <gtest/gtest.h>

#include <cmath>

#include "model3da/tracks.h"

namespace model3da {
namespace {

template <class Track, class Key>
Track make(std::initializer_list<Key> keys) {
  return Track(std::span<const Key>(keys.begin(), keys.size()));
}

TcbKey<1> tcb1(int32_t frame, float value, float tension = 0, float continuity = 0,
               float bias = 0) {
  TcbKey<1> k;
  k.frame = frame;
  k.tension = tension;
  k.continuity = continuity;
  k.bias = bias;
  k.value = {value};
  return k;
}

TEST(track_segment_test, before_first_and_after_last_key) {
  auto track = make<LINEARTrack1D_c, LinearKey<1>>({{10, 0}, {20, 1}, {40, 3}});
  Segment before = track.find_segment(5, 0);
  EXPECT_EQ(before.index, 0);
  EXPECT_EQ(before.fraction, 0.0f);
  Segment after = track.find_segment(100, 0);
  EXPECT_EQ(after.index, 1);  // count - 2
  EXPECT_EQ(after.fraction, 1.0f);
  Segment at_last = track.find_segment(40, 1);
  EXPECT_EQ(at_last.index, 1);
  EXPECT_EQ(at_last.fraction, 1.0f);
  Segment inside = track.find_segment(30, 0);
  EXPECT_EQ(inside.index, 1);
  EXPECT_FLOAT_EQ(inside.fraction, 0.5f);
}

TEST(track_segment_test, hint_steps_and_search_agree) {
  std::vector<LinearKey<1>> keys;
  for (int i = 0; i < 300; ++i) keys.push_back({i * 2 + (i > 150 ? 1 : 0), float(i)});
  // Repeated frames are allowed; a segment never has zero length.
  keys[11].frame = keys[10].frame;
  LINEARTrack1D_c track{std::span<const LinearKey<1>>(keys)};
  for (int t = 0; t < 610; t += 3) {
    const Segment plain =
        find_key_segment(int(keys.size()), t, -1, [&](int i) { return keys[size_t(i)].frame; });
    for (int hint : {0, 5, 100, 149, 200, 299}) {
      const Segment hinted = track.find_segment(float(t), hint);
      ASSERT_EQ(hinted.index, plain.index) << t << " hint " << hint;
      ASSERT_EQ(hinted.fraction, plain.fraction);
    }
    if (plain.fraction < 1.0f && t >= keys[0].frame) {
      EXPECT_LE(keys[size_t(plain.index)].frame, t);
      EXPECT_GT(keys[size_t(plain.index) + 1].frame, t);
    }
  }
}

TEST(track_evaluate_test, linear_tracks_interpolate_and_one_key_stays) {
  auto track = make<LINEARTrack3D_c, LinearKey<3>>({{0, {0, 0, 0}}, {10, {10, 20, -10}}});
  EXPECT_EQ(track.evaluate(2.5f, 0), 0);
  EXPECT_FLOAT_EQ(track.current_value()[1], 5.0f);
  EXPECT_FLOAT_EQ(track.current_value()[2], -2.5f);
  auto single = make<LINEARTrack3D_c, LinearKey<3>>({{0, {1, 2, 3}}});
  EXPECT_EQ(single.evaluate(50, 0), 0);
  EXPECT_EQ(single.current_value()[2], 3.0f);
}

TEST(track_evaluate_test, linear_rotation_uses_slerp) {
  const float h = std::sqrt(0.5f);
  auto track = make<LINEARTrack4D_c, LinearKey<4>>({{0, {0, 0, 0, 1}}, {10, {0, 0, h, h}}});
  track.evaluate(5, 0);
  const auto q = track.current_value();
  EXPECT_NEAR(q[2], std::sin(M_PI / 8), 1e-6);  // 45 degrees: half of the 90
  EXPECT_NEAR(q[3], std::cos(M_PI / 8), 1e-6);
  track.evaluate(2.5f, 0);
  EXPECT_NEAR(track.current_value()[2], std::sin(M_PI / 16), 1e-6);
}

TEST(track_evaluate_test, tcb_hermite_matches_hand_computed_values) {
  // Keys 0, 10, 30 at frames 0, 10, 20. Tangents: first key 7.5 (end-key
  // formula), inner key 15 in and out, last key 22.5.
  auto track = make<TCBTrack1D_c, TcbKey<1>>({tcb1(0, 0), tcb1(10, 10), tcb1(20, 30)});
  EXPECT_EQ(track.evaluate(5, 0), 0);
  EXPECT_FLOAT_EQ(track.current_value()[0], 4.0625f);  // .125·7.5 + .5·10 − .125·15
  EXPECT_EQ(track.evaluate(15, 0), 1);
  EXPECT_FLOAT_EQ(track.current_value()[0], 19.0625f);  // .5·10 + .125·15 + .5·30 − .125·22.5
  track.evaluate(20, 0);
  EXPECT_FLOAT_EQ(track.current_value()[0], 30.0f);
  // Tension 0.5 on the middle key halves its tangents to 7.5.
  auto tense = make<TCBTrack1D_c, TcbKey<1>>({tcb1(0, 0), tcb1(10, 10, 0.5f), tcb1(20, 30)});
  tense.evaluate(5, 0);
  EXPECT_FLOAT_EQ(tense.current_value()[0], 5.0f);
  // Two keys: (v1 − v0)(1 − tension) for both, a straight line.
  auto two = make<TCBTrack1D_c, TcbKey<1>>({tcb1(0, 0), tcb1(10, 10)});
  two.evaluate(2.5f, 0);
  EXPECT_FLOAT_EQ(two.current_value()[0], 2.5f);
}

TEST(track_evaluate_test, tcb_3d_works_per_component) {
  TcbKey<3> a, b, c;
  a.frame = 0;
  b.frame = 10;
  b.value = {10, 0, -10};
  c.frame = 20;
  c.value = {30, 0, -30};
  auto track = make<TCBTrack3D_c, TcbKey<3>>({a, b, c});
  track.evaluate(5, 0);
  EXPECT_FLOAT_EQ(track.current_value()[0], 4.0625f);
  EXPECT_FLOAT_EQ(track.current_value()[1], 0.0f);
  EXPECT_FLOAT_EQ(track.current_value()[2], -4.0625f);
}

TEST(track_evaluate_test, tcb_tangents_follow_kochanek_bartels) {
  // Inner key with continuity and bias, uneven spacing (10 then 30 frames).
  const float v[] = {0, 10, 40};
  const int32_t times[] = {0, 10, 40};
  const float tension[] = {0, 0.2f, 0};
  const float continuity[] = {0, 0.5f, 0};
  const float bias[] = {0, -0.25f, 0};
  float in[3], out[3];
  tcb_tangents(v, 1, times, tension, continuity, bias, in, out);
  // in  = ((.8·.5·.75)/2·10 + (.8·1.5·1.25)/2·30) · 2·10/40 = (1.5 + 22.5) · 0.5
  // out = ((.8·1.5·.75)/2·10 + (.8·.5·1.25)/2·30) · 2·30/40 = (4.5 + 7.5) · 1.5
  EXPECT_FLOAT_EQ(in[1], 12.0f);
  EXPECT_FLOAT_EQ(out[1], 18.0f);
  // End keys, d = 40: (40·(.25 − 10/80 + .5) + (10 − 20)·1.5) = 10 for the
  // first; mirrored for the last: (−40·(.25 − 30/80 + .5) + (−30 + 20)·1.5) = −30 → 30.
  EXPECT_FLOAT_EQ(out[0], 10.0f);
  EXPECT_FLOAT_EQ(in[2], 30.0f);
}

TEST(track_evaluate_test, tcb_rotation_and_bezier_rotation_do_not_change_the_value) {
  TcbKey<4> a, b;
  a.value = {0, 0, 0, 1};
  b.frame = 10;
  b.value = {1, 0, 0, 0};
  auto tcb = make<TCBTrack4D_c, TcbKey<4>>({a, b});
  EXPECT_EQ(tcb.evaluate(20, 0), 0);
  EXPECT_EQ(tcb.current_value()[3], 1.0f);
  auto bezier = make<BEZIERTrack4D_c, LinearKey<4>>({{0, {0, 0, 0, 1}}, {10, {1, 0, 0, 0}}});
  EXPECT_EQ(bezier.evaluate(5, 0), 0);
  EXPECT_EQ(bezier.current_value()[3], 1.0f);
  EXPECT_EQ(bezier.clone(), nullptr);
}

TEST(track_evaluate_test, bezier_passes_through_keys_with_handles) {
  BezierKey<1> a, b;
  a.frame = 0;
  a.value = {0};
  a.out_handle = {10};
  b.frame = 10;
  b.value = {30};
  b.in_handle = {20};
  auto track = make<BEZIERTrack1D_c, BezierKey<1>>({a, b});
  track.evaluate(5, 0);
  EXPECT_FLOAT_EQ(track.current_value()[0], 15.0f);  // .375·10 + .375·20 + .125·30
}

TEST(track_image_test, written_blocks_read_back_as_the_same_class) {
  auto original = make<TCBTrack3D_c, TcbKey<3>>({{}, {}});
  Bytes file(100, std::byte{0});  // the block lies at offset 100
  original.write(file, 100);
  ASSERT_EQ(file.size(), 100u + 29 + 2 * 60);
  EXPECT_EQ(read_u32(file.data() + 100 + 13), 129u);  // keysOffset
  TrackReadResult read = read_track(file, 100, TrackRole::kPosition);
  ASSERT_TRUE(read.track) << read.error;
  EXPECT_STREQ(read.track->class_name(), "TCBTrack3D_c");
  EXPECT_EQ(read.track->key_count(), 2);
  EXPECT_FALSE(read.track->owns_keys());
  auto copy = read.track->clone();
  EXPECT_TRUE(copy->owns_keys());
  EXPECT_STREQ(copy->class_name(), "TCBTrack3D_c");
  EXPECT_EQ(copy->key_time(1), 0);
}

TEST(track_image_test, euler_track_reads_its_three_axes) {
  std::array<std::unique_ptr<Track_c>, 3> axes;
  const LinearKey<1> zero{0, {0}};
  const LinearKey<1> turn[] = {{0, {float(M_PI / 2)}}, {10, {float(M_PI)}}};
  axes[0] = std::make_unique<LINEARTrack1D_c>(std::span<const LinearKey<1>>(&zero, 1));
  axes[1] = std::make_unique<LINEARTrack1D_c>(std::span<const LinearKey<1>>(&zero, 1));
  axes[2] = std::make_unique<LINEARTrack1D_c>(std::span<const LinearKey<1>>(turn));
  EULERTrack_c euler(std::move(axes), {0, 1, 2});
  Bytes file(4, std::byte{0});
  euler.write(file, 4);
  ASSERT_EQ(file.size(), 4u + 56 + 29 + 29 + 37);
  TrackReadResult read = read_track(file, 4, TrackRole::kRotation);
  ASSERT_TRUE(read.track) << read.error;
  EXPECT_STREQ(read.track->class_name(), "EULERTrack_c");
  EXPECT_EQ(read.track->key_count(), 2);
  EXPECT_NEAR(read.track->current_value()[2], std::sqrt(0.5f), 1e-6);  // 90 degrees about z
  read.track->evaluate(10, 0);
  EXPECT_NEAR(read.track->current_value()[2], 1.0f, 1e-6);
  EXPECT_EQ(read.track->key_time(1), 0);  // X axis has one key

  Bytes bad_axis = file;
  put_u32(bad_axis.data() + 4 + 28, 3);
  EXPECT_NE(read_track(bad_axis, 4, TrackRole::kRotation).error.find("axis order"),
            std::string::npos);
  Bytes nested = file;
  put_u32(nested.data() + 4 + 56 + 9, 4);  // the X sub-track claims to be Euler
  EXPECT_NE(read_track(nested, 4, TrackRole::kRotation).error.find("X sub-track"),
            std::string::npos);
}

TEST(track_image_test, refuses_keys_outside_the_file_or_out_of_order) {
  auto track = make<LINEARTrack3D_c, LinearKey<3>>({{0, {}}, {5, {}}});
  Bytes file(4, std::byte{0});
  track.write(file, 4);
  EXPECT_TRUE(read_track(file, 4, TrackRole::kPosition).track);
  EXPECT_FALSE(read_track(file, 0, TrackRole::kPosition).track);  // offset 0 is "none"
  // Read as a rotation the keys are 20 bytes each and run past the end.
  EXPECT_NE(read_track(file, 4, TrackRole::kRotation).error.find("runs past"), std::string::npos);
  Bytes backwards = file;
  put_u32(backwards.data() + 4 + 29 + 16, uint32_t(-1));  // key 1 at frame -1
  EXPECT_NE(read_track(backwards, 4, TrackRole::kPosition).error.find("before key 0"),
            std::string::npos);
  Bytes cut(file.begin(), file.end() - 1);
  EXPECT_NE(read_track(cut, 4, TrackRole::kPosition).error.find("runs past"), std::string::npos);
  Bytes unknown = file;
  put_u32(unknown.data() + 4 + 9, 0);
  EXPECT_NE(read_track(unknown, 4, TrackRole::kScale).error.find("interpolation 0"),
            std::string::npos);
}

}  // namespace
}  // namespace model3da
