#pragma once

// Discovery in binary files (Java classes, Flash movies): file names with a known
// extension, and in an uncompressed Flash movie the addresses that stand before a
// frame target name.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "settings/FileTypes.h"
#include "settings/ProjectSettings.h"
#include "web/LinkSink.h"

namespace qn {

// The binary scan reads at most this much at a time; buffers overlap by 1040 bytes.
constexpr std::size_t kBinaryBufferSize = 20480;
constexpr std::size_t kBinaryOverlap = 1040;

// Links of a binary file resolve against the page that referred to it when there
// is one, otherwise against the file's own address.
bool ScanBinaryFile(std::string_view fileAddress, std::string_view referrerAddress,
                    const std::filesystem::path& localFile, const CQNSettings& settings,
                    const QNScanControl& control, IQNLinkSink& sink);
// The same over an open binary input of `size` bytes, resolving against `address`.
bool ScanBinary(std::istream& in, std::uint64_t size, std::string_view address,
                const CQNSettings& settings, const QNScanControl& control, IQNLinkSink& sink);

// The values of one buffer, appended to `values`: file names ending in an
// extension of the HTML, Image, Audio, Video, Java and Document lists, and, in a
// Flash movie, the addresses before frame target names.
void FindBinaryValues(std::string_view buffer, bool flash, const ExtLists& lists,
                      std::vector<std::string>& values);

}  // namespace qn
