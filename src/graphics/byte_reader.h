#pragma once
// Little-endian reads that never leave the bytes they are given: a read past the end yields 0
// and Has() tells beforehand whether a field or an array fits.

#include <cstdint>
#include <cstring>
#include <span>

namespace zephra::graphics {

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const uint8_t> bytes) : b_(bytes) {}
  ByteReader(const uint8_t* data, size_t size) : b_(data, size) {}

  size_t size() const { return b_.size(); }
  const uint8_t* data() const { return b_.data(); }
  std::span<const uint8_t> bytes() const { return b_; }

  // True when count items of itemSize bytes from offset lie within the bytes.
  bool Has(uint64_t offset, uint64_t count, uint64_t itemSize = 1) const {
    if (offset > b_.size()) return false;
    if (itemSize != 0 && count > (UINT64_MAX / itemSize)) return false;
    return count * itemSize <= b_.size() - offset;
  }
  // The bytes from offset on (count of them), or an empty span when they do not fit.
  std::span<const uint8_t> Sub(uint64_t offset, uint64_t count) const {
    if (!Has(offset, count)) return {};
    return b_.subspan(static_cast<size_t>(offset), static_cast<size_t>(count));
  }
  std::span<const uint8_t> From(uint64_t offset) const {
    if (offset > b_.size()) return {};
    return b_.subspan(static_cast<size_t>(offset));
  }

  uint8_t U8(uint64_t o) const { return Has(o, 1) ? b_[o] : 0; }
  uint16_t U16(uint64_t o) const {
    return Has(o, 2) ? static_cast<uint16_t>(b_[o] | (b_[o + 1] << 8)) : 0;
  }
  int16_t I16(uint64_t o) const { return static_cast<int16_t>(U16(o)); }
  uint32_t U32(uint64_t o) const {
    if (!Has(o, 4)) return 0;
    return static_cast<uint32_t>(b_[o]) | (static_cast<uint32_t>(b_[o + 1]) << 8) |
           (static_cast<uint32_t>(b_[o + 2]) << 16) | (static_cast<uint32_t>(b_[o + 3]) << 24);
  }
  int32_t I32(uint64_t o) const { return static_cast<int32_t>(U32(o)); }
  float F32(uint64_t o) const {
    const uint32_t v = U32(o);
    float f;
    std::memcpy(&f, &v, sizeof f);
    return f;
  }

 private:
  std::span<const uint8_t> b_;
};

}  // namespace zephra::graphics
