// Little-endian field readers and writers for the .3da records.
//
// Readers take a pointer to at least the field's size in bytes; callers check
// the range once for the whole record before reading its fields. Writers
// append to a byte vector or overwrite at a position that already exists.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace model3da {

using Bytes = std::vector<std::byte>;

inline uint16_t read_u16(const std::byte* p) {
  return static_cast<uint16_t>(std::to_integer<uint16_t>(p[0]) |
                               (std::to_integer<uint16_t>(p[1]) << 8));
}

inline uint32_t read_u32(const std::byte* p) {
  return std::to_integer<uint32_t>(p[0]) | (std::to_integer<uint32_t>(p[1]) << 8) |
         (std::to_integer<uint32_t>(p[2]) << 16) | (std::to_integer<uint32_t>(p[3]) << 24);
}

inline int16_t read_i16(const std::byte* p) {
  return static_cast<int16_t>(read_u16(p));
}
inline int32_t read_i32(const std::byte* p) {
  return static_cast<int32_t>(read_u32(p));
}
inline float read_f32(const std::byte* p) {
  return std::bit_cast<float>(read_u32(p));
}

// Reads a zero-padded text field of `size` bytes; the text ends at the first
// zero byte or at the end of the field.
inline std::string read_text(const std::byte* p, size_t size) {
  size_t length = 0;
  while (length < size && p[length] != std::byte{0}) ++length;
  return std::string(reinterpret_cast<const char*>(p), length);
}

inline void put_u32(std::byte* p, uint32_t v) {
  p[0] = std::byte(v & 0xFF);
  p[1] = std::byte((v >> 8) & 0xFF);
  p[2] = std::byte((v >> 16) & 0xFF);
  p[3] = std::byte((v >> 24) & 0xFF);
}

inline void put_u16(std::byte* p, uint16_t v) {
  p[0] = std::byte(v & 0xFF);
  p[1] = std::byte((v >> 8) & 0xFF);
}

inline void put_f32(std::byte* p, float v) {
  put_u32(p, std::bit_cast<uint32_t>(v));
}

inline void append_u8(Bytes& out, uint8_t v) {
  out.push_back(std::byte(v));
}

inline void append_u16(Bytes& out, uint16_t v) {
  out.push_back(std::byte(v & 0xFF));
  out.push_back(std::byte(v >> 8));
}

inline void append_u32(Bytes& out, uint32_t v) {
  const size_t at = out.size();
  out.resize(at + 4);
  put_u32(out.data() + at, v);
}

inline void append_i32(Bytes& out, int32_t v) {
  append_u32(out, static_cast<uint32_t>(v));
}
inline void append_i16(Bytes& out, int16_t v) {
  append_u16(out, static_cast<uint16_t>(v));
}
inline void append_f32(Bytes& out, float v) {
  append_u32(out, std::bit_cast<uint32_t>(v));
}

inline void append_floats(Bytes& out, std::span<const float> values) {
  for (float v : values) append_f32(out, v);
}

// Appends `text` zero-padded to `size` bytes. The caller makes sure the text
// fits (at most size - 1 characters, so a terminating zero remains).
inline void append_text(Bytes& out, std::string_view text, size_t size) {
  const size_t at = out.size();
  out.resize(at + size, std::byte{0});
  std::memcpy(out.data() + at, text.data(), text.size() < size ? text.size() : size);
}

inline void append_bytes(Bytes& out, std::span<const std::byte> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

// True when `count` elements of `element_size` bytes starting at `offset`
// lie inside a block of `size` bytes. Cannot overflow.
inline bool range_fits(uint64_t size, uint64_t offset, uint64_t count, uint64_t element_size) {
  return offset <= size && (element_size == 0 || count <= (size - offset) / element_size);
}

}  // namespace model3da
