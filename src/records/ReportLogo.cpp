#include "records/ReportLogo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace qn {
namespace {

constexpr int kSide = 32;
// White, the report's blue, its dark and its light border colours.
constexpr std::uint8_t kPalette[] = {0xFF, 0xFF, 0xFF, 0x33, 0x66, 0xCC,
                                     0x26, 0x4E, 0x75, 0x71, 0xC2, 0xFF};
constexpr int kWhite = 0, kBlue = 1, kDark = 2, kLight = 3;

// A quill lying from the lower left to the upper right over a rounded blue tile.
int PixelAt(int x, int y) {
  const double cx = std::min(x, kSide - 1 - x), cy = std::min(y, kSide - 1 - y);
  if (cx < 4 && cy < 4 && std::hypot(4 - cx, 4 - cy) > 4.5) return kWhite;
  const double px = x - 6.0, py = 25.0 - y;
  const double along = (px + py) / std::sqrt(2.0);
  const double across = (px - py) / std::sqrt(2.0);
  if (along < 0 || along > 28) return kBlue;
  if (std::abs(across) < 0.75) return kDark;
  const double half = along < 6 ? 0 : 5.0 * std::sin(3.14159 * (along - 6) / 22);
  if (std::abs(across) < half) return across < 0 ? kWhite : kLight;
  return kBlue;
}

void PutWord(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

// Writes codes of a fixed width LSB first.
class BitWriter {
 public:
  void Put(unsigned code, int width) {
    buffer_ |= code << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      bytes.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
      buffer_ >>= 8;
      bits_ -= 8;
    }
  }
  void Flush() {
    if (bits_ > 0) bytes.push_back(static_cast<std::uint8_t>(buffer_ & 0xFF));
    buffer_ = 0;
    bits_ = 0;
  }
  std::vector<std::uint8_t> bytes;

 private:
  unsigned buffer_ = 0;
  int bits_ = 0;
};

}  // namespace

std::string ReportLogoGif() {
  std::string out = "GIF89a";
  PutWord(out, kSide);
  PutWord(out, kSide);
  out += static_cast<char>(0x91);  // a global table of 4 colours
  out += '\0';
  out += '\0';
  out.append(reinterpret_cast<const char*>(kPalette), sizeof kPalette);
  out += ',';
  PutWord(out, 0);
  PutWord(out, 0);
  PutWord(out, kSide);
  PutWord(out, kSide);
  out += '\0';

  // LZW with a minimum code size of 2 (clear 4, end 5) and codes of 3 bits. A clear
  // code before every two pixels keeps the code table from growing, so no code ever
  // needs more than 3 bits: larger than a full encoder's output, but tiny here.
  constexpr int kMinCodeSize = 2, kClear = 4, kEnd = 5, kWidth = 3;
  out += static_cast<char>(kMinCodeSize);
  BitWriter bits;
  for (int i = 0; i < kSide * kSide; ++i) {
    if (i % 2 == 0) bits.Put(kClear, kWidth);
    bits.Put(static_cast<unsigned>(PixelAt(i % kSide, i / kSide)), kWidth);
  }
  bits.Put(kEnd, kWidth);
  bits.Flush();
  for (std::size_t at = 0; at < bits.bytes.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, bits.bytes.size() - at);
    out += static_cast<char>(n);
    out.append(reinterpret_cast<const char*>(bits.bytes.data() + at), n);
  }
  out += '\0';
  out += ';';
  return out;
}

}  // namespace qn
