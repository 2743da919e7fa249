#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qn {

struct CQNSettings;

// Result of the size test of a file's own extension entry.
struct QNExtensionSizeTest {
  bool passes = true;
  bool hadLimit = false;  // the entry has a limit of the kind tested
};

// Tests size `n` against the minimum (or maximum) of the extension entry of
// `address`'s file name, found in the list of the address's category.
QNExtensionSizeTest ExtensionSizeTest(double n, std::string_view address,
                                      const CQNSettings& settings, bool maximum);

// The project-wide limits: QN_LIM_MAXFS / QN_LIM_MINFS with their values.
bool PassesMaximumSize(double n, const CQNSettings& settings);
bool PassesMinimumSize(double n, const CQNSettings& settings);

// The run has saved more bytes than QN_MAX_DS allows.
bool DiskSpaceExceeded(std::uint32_t byteTotal, const CQNSettings& settings);

enum class QNSizeVerdict { Passes, TooLarge, TooSmall };

// The size decision for a file whose size is announced before its body: the
// extension's maximum and minimum, then, when the entry sets no minimum of its own,
// the project's maximum and minimum.
QNSizeVerdict SizeDecision(double n, std::string_view address, const CQNSettings& settings);

// The largest size a file of `address` may reach: the extension's own maximum, else
// the project's maximum, or none when no maximum is switched on.
std::optional<double> MaximumSizeFor(std::string_view address, const CQNSettings& settings);

}  // namespace qn
