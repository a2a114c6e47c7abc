// Little-endian reads and writes, and a bounded reader over untrusted bytes
// (files, import files, machine replies).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace odc {

inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// Reads forward through a byte range; every read is checked against the end
// first. A failed read leaves the position where it was and returns false.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t position() const { return pos_; }
  size_t remaining() const { return size_ - pos_; }
  bool AtEnd() const { return pos_ >= size_; }

  bool ReadU32(uint32_t& value) {
    if (remaining() < 4) return false;
    value = GetU32(data_ + pos_);
    pos_ += 4;
    return true;
  }
  bool ReadBytes(uint8_t* out, size_t count) {
    if (remaining() < count) return false;
    if (count != 0) std::memcpy(out, data_ + pos_, count);
    pos_ += count;
    return true;
  }
  bool Skip(size_t count) {
    if (remaining() < count) return false;
    pos_ += count;
    return true;
  }
  const uint8_t* current() const { return data_ + pos_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Appends to a caller's buffer of fixed capacity; writes past the end are
// refused (and remembered), never performed.
class ByteWriter {
 public:
  ByteWriter(uint8_t* data, size_t capacity) : data_(data), capacity_(capacity) {}

  size_t position() const { return pos_; }
  bool ok() const { return ok_; }

  void WriteU32(uint32_t value) {
    if (!Reserve(4)) return;
    PutU32(data_ + pos_, value);
    pos_ += 4;
  }
  void WriteBytes(const uint8_t* src, size_t count) {
    if (!Reserve(count)) return;
    if (count != 0) std::memcpy(data_ + pos_, src, count);
    pos_ += count;
  }

 private:
  bool Reserve(size_t count) {
    if (!ok_ || capacity_ - pos_ < count) {
      ok_ = false;
      return false;
    }
    return true;
  }
  uint8_t* data_;
  size_t capacity_;
  size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace odc
