#include "project/BinaryStream.h"

#include <algorithm>
#include <cstring>

namespace qn {

void QNBinaryWriter::Raw(const void* data, std::size_t n) {
  out_.append(static_cast<const char*>(data), n);
}

void QNBinaryWriter::Int(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  const unsigned char b[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                              static_cast<unsigned char>(u >> 16),
                              static_cast<unsigned char>(u >> 24)};
  Raw(b, 4);
}

void QNBinaryWriter::Real(double v) {
  std::uint64_t u;
  std::memcpy(&u, &v, sizeof u);
  unsigned char b[8];
  for (int i = 0; i < 8; ++i) b[i] = static_cast<unsigned char>(u >> (8 * i));
  Raw(b, 8);
}

void QNBinaryWriter::Byte(std::uint8_t v) {
  Raw(&v, 1);
}

void QNBinaryWriter::String(std::string_view s) {
  const std::size_t n = s.size();
  if (n <= 254) {
    Byte(static_cast<std::uint8_t>(n));
  } else if (n <= 0xFFFD) {
    Byte(0xFF);
    Byte(static_cast<std::uint8_t>(n));
    Byte(static_cast<std::uint8_t>(n >> 8));
  } else {
    Byte(0xFF);
    Byte(0xFF);
    Byte(0xFF);
    Int(static_cast<std::int32_t>(static_cast<std::uint32_t>(n)));
  }
  Raw(s.data(), n);
}

void QNBinaryWriter::CountedText(std::string_view s) {
  Int(static_cast<std::int32_t>(s.size()));
  Raw(s.data(), s.size());
}

void QNBinaryReader::Raw(void* data, std::size_t n) {
  in_.read(static_cast<char*>(data), static_cast<std::streamsize>(n));
  if (static_cast<std::size_t>(in_.gcount()) != n) throw QNReadError();
}

std::int32_t QNBinaryReader::Int() {
  unsigned char b[4];
  Raw(b, 4);
  const std::uint32_t u =
      b[0] | (std::uint32_t{b[1]} << 8) | (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
  return static_cast<std::int32_t>(u);
}

double QNBinaryReader::Real() {
  unsigned char b[8];
  Raw(b, 8);
  std::uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = (u << 8) | b[i];
  double v;
  std::memcpy(&v, &u, sizeof v);
  return v;
}

std::uint8_t QNBinaryReader::Byte() {
  std::uint8_t b;
  Raw(&b, 1);
  return b;
}

std::uint16_t QNBinaryReader::Word() {
  unsigned char b[2];
  Raw(b, 2);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::string QNBinaryReader::Bytes(std::uint64_t n, std::size_t keep) {
  // The kept text grows by at most 64 KB ahead of the bytes actually read.
  constexpr std::size_t kStep = 65536;
  std::string kept;
  const auto keepCount = static_cast<std::size_t>(std::min<std::uint64_t>(n, keep));
  while (kept.size() < keepCount) {
    const std::size_t at = kept.size();
    const std::size_t step = std::min(keepCount - at, kStep);
    kept.resize(at + step);
    Raw(kept.data() + at, step);
  }
  char dropped[4096];
  for (std::uint64_t rest = n - keepCount; rest > 0;) {
    const auto step = static_cast<std::size_t>(std::min<std::uint64_t>(rest, sizeof dropped));
    Raw(dropped, step);
    rest -= step;
  }
  return kept;
}

std::string QNBinaryReader::String(std::size_t keep) {
  // The length prefix; after 0xFF 0xFFFE the characters are 16 bits wide and the
  // prefix starts over in the same form.
  bool wide = false;
  std::uint64_t length = Byte();
  if (length == 0xFF) {
    std::uint16_t word = Word();
    if (word == 0xFFFE) {
      wide = true;
      length = Byte();
      if (length == 0xFF) word = Word();
    }
    if (length == 0xFF) length = word == 0xFFFF ? static_cast<std::uint32_t>(Int()) : word;
  }
  if (!wide) return Bytes(length, keep);

  // A kept character needs at least one of the UTF-8 bytes kept, so 2 * keep raw
  // bytes always suffice.
  const std::string raw = Bytes(length * 2, keep > SIZE_MAX / 2 ? SIZE_MAX : keep * 2);
  std::u16string units(raw.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                     (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
  std::string text = Utf16ToUtf8(units);
  if (text.size() > keep) text.resize(keep);
  return text;
}

std::string QNBinaryReader::CountedText(std::size_t keep) {
  const std::int32_t n = Int();
  if (n < 0) throw QNReadError();
  return Bytes(static_cast<std::uint64_t>(n), keep);
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace qn
