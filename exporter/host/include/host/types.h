// Basic host types: time in ticks, intervals, class ids and super class ids.
//
// Time is an integer count of ticks; GetTicksPerFrame() tells how many ticks
// one animation frame lasts (160 unless the host sets another rate).
#pragma once

#include <cstdint>

#include "host/host_api.h"

using TimeValue = int;
using SClass_ID = uint32_t;

inline constexpr TimeValue TIME_NegInfinity = -0x7FFFFFFF;
inline constexpr TimeValue TIME_PosInfinity = 0x7FFFFFFF;

// A closed time range [start, end] in ticks.
class HOSTAPI Interval {
 public:
  constexpr Interval() = default;
  constexpr Interval(TimeValue start, TimeValue end) : start_(start), end_(end) {}
  constexpr TimeValue Start() const { return start_; }
  constexpr TimeValue End() const { return end_; }
  constexpr bool InInterval(TimeValue t) const { return t >= start_ && t <= end_; }

 private:
  TimeValue start_ = 0;
  TimeValue end_ = 0;
};

inline constexpr Interval FOREVER{TIME_NegInfinity, TIME_PosInfinity};

// A class id: two 32-bit words.
class HOSTAPI Class_ID {
 public:
  constexpr Class_ID() = default;
  constexpr Class_ID(uint32_t a, uint32_t b) : a_(a), b_(b) {}
  constexpr uint32_t PartA() const { return a_; }
  constexpr uint32_t PartB() const { return b_; }
  constexpr bool operator==(const Class_ID& other) const = default;

 private:
  uint32_t a_ = 0xFFFFFFFF;
  uint32_t b_ = 0xFFFFFFFF;
};

// Ticks per animation frame: 160 by default.
HOSTAPI int GetTicksPerFrame();
// Sets the ticks per frame for the whole process (hosts only); values below
// 1 are ignored.
HOSTAPI void SetTicksPerFrame(int ticks);

// Whether a file exists (a regular file or a folder).
HOSTAPI bool DoesFileExist(const char* path);
