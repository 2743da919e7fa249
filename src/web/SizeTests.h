#pragma once

// Size tests: an extension's own limits, the global limits and the disk space. The
// fetcher asks them when the headers have come, the engine when a page is kept.

#include <cstdint>
#include <string_view>

#include "settings/ProjectSettings.h"

namespace qn {

// Sizes in bytes.
enum class SizeKind { Minimum, Maximum };
struct QNSizeTest {
  bool passes = true;
  bool hadLimit = false;  // the extension entry has its own limit of this kind
};
QNSizeTest ExtensionSizeTest(const CQNSettings& settings, std::int64_t size,
                             std::string_view address, SizeKind kind);
bool PassesMaxSize(const CQNSettings& settings, std::int64_t size);
// Whether a file of `address` is over its maximum: the extension's own when it has
// one, else the global maximum. A page cut during its transfer and the same page
// judged after its scan both go by this test of its address.
bool ExceedsMaxSize(const CQNSettings& settings, std::int64_t size, std::string_view address);
bool PassesMinSize(const CQNSettings& settings, std::int64_t size);
// False once the run's byte total exceeds an enabled disk-space limit.
bool PassesDiskSpace(const CQNSettings& settings, std::int64_t byteTotal);

// The decision on a non-HTML file from its announced size, before the body comes.
enum class SizeVerdict { Ok, TooLarge, TooSmall, DiskFull };
// An extension's own limit of a kind replaces the global limit of that kind; the
// global limit of the other kind still applies. Never DiskFull.
SizeVerdict SizeLimits(const CQNSettings& settings, std::int64_t size, std::string_view address);
SizeVerdict PreDownloadSizeDecision(const CQNSettings& settings, std::int64_t size,
                                    std::string_view address, std::int64_t byteTotal);

}  // namespace qn
