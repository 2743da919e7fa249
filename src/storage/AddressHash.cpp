#include "storage/AddressHash.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdio>

namespace qn {
namespace {

constexpr std::array<std::uint32_t, 16> kLow = {0x0000, 0xC0C1, 0xC181, 0x0140, 0xC301, 0x03C0,
                                                0x0280, 0xC241, 0xC601, 0x06C0, 0x0780, 0xC741,
                                                0x0500, 0xC5C1, 0xC481, 0x0440};
// The last entry is 0x4600 where the true CRC-16 table has 0x4400.
constexpr std::array<std::uint32_t, 16> kHigh = {0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00,
                                                 0x2800, 0xE401, 0xA001, 0x6C00, 0x7800, 0xB401,
                                                 0x5000, 0x9C01, 0x8801, 0x4600};

}  // namespace

std::uint32_t AddressHash16(std::string_view text) {
  std::uint32_t acc = 0xFFFFFFFFu;
  for (char c : text) {
    const std::uint32_t i = (static_cast<unsigned char>(c) ^ acc) & 0xFFu;
    acc = kHigh[i >> 4] ^ kLow[i & 0x0Fu] ^ (acc >> 8);
  }
  return acc;
}

std::uint32_t Crc32(std::string_view text) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes lengths as uInt; feed long texts in pieces.
  while (!text.empty()) {
    const auto n = static_cast<uInt>(std::min<std::size_t>(text.size(), 1u << 30));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(text.data()), n);
    text.remove_prefix(n);
  }
  return static_cast<std::uint32_t>(crc);
}

std::string HashedNameStem(std::string_view address) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "Qn%x%x", static_cast<unsigned>(AddressHash16(address)),
                static_cast<unsigned>(Crc32(address)));
  return buf;
}

}  // namespace qn
