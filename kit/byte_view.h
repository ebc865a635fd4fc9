// Little-endian fields read from a stretch of bytes, every read checked
// against its end: the kit's readers of PE files and resources take untrusted
// files, so no read may run past what is there.
#pragma once

#include <cstdint>
#include <string>

namespace kit {

class ByteView {
 public:
  static constexpr int kBitsPerByte = 8;

  explicit ByteView(const std::string& bytes) : m_data(bytes.data()), m_size(bytes.size()) {}
  ByteView(const char* data, std::uint64_t size) : m_data(data), m_size(size) {}

  std::uint64_t Size() const { return m_size; }
  // True when `size` bytes from `at` lie within the view.
  bool Holds(std::uint64_t at, std::uint64_t size) const { return at <= m_size && size <= m_size - at; }

  bool U8(std::uint64_t at, std::uint8_t& value) const { return Read(at, sizeof value, value); }
  bool U16(std::uint64_t at, std::uint16_t& value) const { return Read(at, sizeof value, value); }
  bool U32(std::uint64_t at, std::uint32_t& value) const { return Read(at, sizeof value, value); }
  bool I32(std::uint64_t at, std::int32_t& value) const {
    std::uint32_t raw = 0;
    if (!U32(at, raw)) return false;
    value = static_cast<std::int32_t>(raw);
    return true;
  }
  // Big-endian, as PNG stores its numbers.
  bool U32BigEndian(std::uint64_t at, std::uint32_t& value) const {
    if (!Holds(at, sizeof value)) return false;
    value = 0;
    for (std::uint64_t i = 0; i < sizeof value; ++i) value = (value << kBitsPerByte) | Byte(at + i);
    return true;
  }
  // `size` bytes from `at`; false when they are not all there.
  bool Bytes(std::uint64_t at, std::uint64_t size, std::string& out) const {
    if (!Holds(at, size)) return false;
    out.assign(m_data + at, static_cast<size_t>(size));
    return true;
  }
  bool StartsWith(std::uint64_t at, const std::string& expected) const {
    return Holds(at, expected.size()) && std::string(m_data + at, expected.size()) == expected;
  }

 private:
  std::uint8_t Byte(std::uint64_t at) const { return static_cast<std::uint8_t>(m_data[at]); }
  template <typename T>
  bool Read(std::uint64_t at, std::uint64_t size, T& value) const {
    if (!Holds(at, size)) return false;
    std::uint64_t result = 0;
    for (std::uint64_t i = size; i-- > 0;) result = (result << kBitsPerByte) | Byte(at + i);
    value = static_cast<T>(result);
    return true;
  }

  const char* m_data;
  std::uint64_t m_size;
};

}  // namespace kit
