// The clip: which one, its times in ticks, its keys as controllers.
#include "animation_import.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <fmt/format.h>

#include "host/decomp.h"
#include "host/scene_builder.h"
#include "source_axes.h"

namespace scene_import {
namespace {

// Source times without a rate are frames at the host's default rate.
constexpr double kDefaultFramesPerSecond = 30.0;

bool all_digits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](unsigned char c) { return c >= '0' && c <= '9'; });
}

std::string clip_list(const aiScene& scene) {
  std::string out;
  for (unsigned i = 0; i < scene.mNumAnimations; ++i) {
    out += fmt::format("{}{} \"{}\"", i == 0 ? "" : ", ", i, scene.mAnimations[i]->mName.C_Str());
  }
  return out;
}

// Keys sorted by time, one per tick (the last of equal times wins).
template <class Key>
std::vector<Key> ordered(std::vector<Key> keys) {
  std::stable_sort(keys.begin(), keys.end(),
                   [](const Key& a, const Key& b) { return a.time < b.time; });
  std::vector<Key> out;
  for (const Key& k : keys) {
    if (!out.empty() && out.back().time == k.time) {
      out.back() = k;
    } else {
      out.push_back(k);
    }
  }
  return out;
}

}  // namespace

bool choose_animation(ImportContext& c) {
  const aiScene& scene = *c.source;
  const std::string& wanted = c.options->animation;
  const aiAnimation* clip = nullptr;
  if (wanted.empty()) {
    if (scene.mNumAnimations > 0) clip = scene.mAnimations[0];
  } else {
    for (unsigned i = 0; i < scene.mNumAnimations && clip == nullptr; ++i) {
      if (wanted == scene.mAnimations[i]->mName.C_Str()) clip = scene.mAnimations[i];
    }
    if (clip == nullptr && all_digits(wanted) && wanted.size() < 9) {
      const unsigned index = unsigned(std::strtoul(wanted.c_str(), nullptr, 10));
      if (index < scene.mNumAnimations) clip = scene.mAnimations[index];
    }
    if (clip == nullptr) {
      c.result->error =
          scene.mNumAnimations == 0
              ? fmt::format("no animation {} (the file has none)", wanted)
              : fmt::format("no animation {} (the file has {})", wanted, clip_list(scene));
      return false;
    }
  }
  c.clip = clip;
  if (clip == nullptr) return true;
  c.result->animation = clip->mName.C_Str();
  c.clip_ticks_per_second =
      clip->mTicksPerSecond > 0.0 ? clip->mTicksPerSecond : kDefaultFramesPerSecond;
  for (unsigned i = 0; i < clip->mNumChannels; ++i) {
    const aiNodeAnim* channel = clip->mChannels[i];
    c.channels.emplace(channel->mNodeName.C_Str(), channel);
  }
  if (clip->mNumMeshChannels > 0 || clip->mNumMorphMeshChannels > 0) {
    c.note(fmt::format("the mesh and morph channels of animation {} are not imported",
                       c.result->animation));
  }
  if (scene.mNumAnimations > 1) {
    c.note(fmt::format("animation {} taken of {} ({}); --animation chooses another",
                       c.result->animation, scene.mNumAnimations, clip_list(scene)));
  }
  return true;
}

int source_ticks(const ImportContext& c, double time) {
  if (c.clip_ticks_per_second <= 0.0 || !std::isfinite(time)) return 0;
  const double ticks = std::round(time / c.clip_ticks_per_second * kTicksPerSecond);
  return int(std::clamp(ticks, double(TIME_NegInfinity) + 1, double(TIME_PosInfinity) - 1));
}

std::unique_ptr<host::PRSControl> node_controller(const ImportContext& c, const aiNodeAnim* channel,
                                                  const StaticTransform& rest,
                                                  const Matrix3& after) {
  // The similarity that follows: p·after for points, q·q_after for
  // rotations, σ·f for scales (a uniform factor commutes with any scale).
  AffineParts parts;
  decomp_affine(after, &parts);
  const Quat after_rotation = parts.q.Normalize();
  const float after_scale = parts.k.x * parts.f;

  std::unique_ptr<Control> position, rotation, scale;
  if (channel != nullptr && channel->mNumPositionKeys > 0) {
    std::vector<ILinPoint3Key> keys;
    for (unsigned i = 0; i < channel->mNumPositionKeys; ++i) {
      const aiVectorKey& k = channel->mPositionKeys[i];
      ILinPoint3Key key;
      key.time = source_ticks(c, k.mTime);
      key.val = host_point(k.mValue) * after;
      keys.push_back(key);
    }
    position = host::keyframes(ordered(std::move(keys)), rest.position);
  } else {
    position = host::keyframes(std::vector<ILinPoint3Key>{}, rest.position);
  }
  if (channel != nullptr && channel->mNumRotationKeys > 0) {
    std::vector<ILinRotKey> keys;
    for (unsigned i = 0; i < channel->mNumRotationKeys; ++i) {
      const aiQuatKey& k = channel->mRotationKeys[i];
      ILinRotKey key;
      key.time = source_ticks(c, k.mTime);
      key.val = (host_rotation(k.mValue).Normalize() * after_rotation).Normalize();
      keys.push_back(key);
    }
    keys = ordered(std::move(keys));
    // Neighbouring keys on the same side of the sphere, so that no reader
    // turns the long way round.
    for (size_t i = 1; i < keys.size(); ++i) {
      if (QDot(keys[i - 1].val, keys[i].val) < 0.0f) {
        const Quat& q = keys[i].val;
        keys[i].val = Quat(-q.x, -q.y, -q.z, -q.w);
      }
    }
    rotation = host::keyframes(std::move(keys), rest.rotation);
  } else {
    rotation = host::keyframes(std::vector<ILinRotKey>{}, rest.rotation);
  }
  if (channel != nullptr && channel->mNumScalingKeys > 0) {
    std::vector<ILinScaleKey> keys;
    for (unsigned i = 0; i < channel->mNumScalingKeys; ++i) {
      const aiVectorKey& k = channel->mScalingKeys[i];
      ILinScaleKey key;
      key.time = source_ticks(c, k.mTime);
      key.val = ScaleValue{host_scale(k.mValue) * after_scale, Quat()};
      keys.push_back(key);
    }
    scale = host::keyframes(ordered(std::move(keys)), rest.scale);
  } else {
    scale = host::keyframes(std::vector<ILinScaleKey>{}, rest.scale);
  }
  return std::make_unique<host::PRSControl>(std::move(position), std::move(rotation),
                                            std::move(scale));
}

}  // namespace scene_import
