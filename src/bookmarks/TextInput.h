#pragma once

// Reading the text files that browsers leave behind, which may be large, damaged or
// not files at all.

#include <cstddef>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>

namespace qn {

// Drops a UTF-8 byte-order mark at the current position of `in`, if there is one.
void SkipByteOrderMark(std::istream& in);

// The next line without its line end ("\n" or "\r\n"); a longer line keeps its first
// `maxLength` bytes and the rest is skipped. False at the end of the input.
bool ReadTextLine(std::istream& in, std::string& line, std::size_t maxLength);

// The whole file, without a byte-order mark; nothing when it is not a regular file,
// cannot be read or is larger than `maxSize`.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::size_t maxSize);

}  // namespace qn
