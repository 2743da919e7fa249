#pragma once

// The field encodings of the project file: little-endian ints and doubles, single
// bytes, length-prefixed strings, and int-counted texts. The writer appends to a
// string so that a save can be completed in memory before any file is touched; the
// reader pulls from a stream and throws QNReadError when the stream ends inside a
// field. Exceptions stay inside the file layer: its callers catch them.

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qn {

class QNReadError : public std::runtime_error {
 public:
  QNReadError() : std::runtime_error("unexpected end of file") {}
};

class QNBinaryWriter {
 public:
  void Int(std::int32_t v);
  void Real(double v);
  void Byte(std::uint8_t v);
  // One byte of length up to 254, else 0xFF and 16 bits up to 0xFFFD, else 0xFF,
  // 0xFFFF and 32 bits.
  void String(std::string_view s);
  // An int length followed by the bytes.
  void CountedText(std::string_view s);

  const std::string& Bytes() const { return out_; }
  std::string Take() { return std::move(out_); }

 private:
  void Raw(const void* data, std::size_t n);
  std::string out_;
};

class QNBinaryReader {
 public:
  explicit QNBinaryReader(std::istream& in) : in_(in) {}

  std::int32_t Int();
  double Real();
  std::uint8_t Byte();
  // A length-prefixed string; the 16-bit-character form comes back as UTF-8. Only
  // the first `keep` bytes are kept, the rest is read and dropped.
  std::string String(std::size_t keep = SIZE_MAX);
  // An int-counted text, at most `keep` bytes kept. A negative length is damage.
  std::string CountedText(std::size_t keep);

 private:
  void Raw(void* data, std::size_t n);
  std::uint16_t Word();
  // Reads `n` bytes, keeping the first `keep` of them. Memory grows only with the
  // bytes actually present, so a length beyond the end of the file costs nothing.
  std::string Bytes(std::uint64_t n, std::size_t keep);
  std::istream& in_;
};

// UTF-16LE code units to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view s);

}  // namespace qn
