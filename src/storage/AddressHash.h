#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qn {

// The 16-bit address hash of local file names. It is the nibble-table CRC-16 of the
// reflected polynomial 0xA001 with one altered table entry, kept bit for bit so that
// names made by earlier versions stay valid. For texts of fewer than three bytes the
// value is wider than 16 bits.
std::uint32_t AddressHash16(std::string_view text);

// The standard CRC-32 (ISO 3309, IEEE 802.3) of zlib.
std::uint32_t Crc32(std::string_view text);

// "Qn" followed by both values of `address` in lower-case hexadecimal without leading
// zeros: the stem of the hashed local name of an address.
std::string HashedNameStem(std::string_view address);

}  // namespace qn
