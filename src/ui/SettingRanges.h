#pragma once

// The numbers the settings dialog edits, with the range and the unit each is shown
// in: one table, from which every number box of the dialog takes its limits.

#include <span>
#include <string_view>
#include <variant>

#include "settings/ProjectSettings.h"

namespace qn {

// How a number is shown: held = shown × scale. A count held in an int may be an
// unsigned 32-bit number (the run reads it so).
struct QNNumberFormat {
  double min = 0;
  double max = 0;
  double scale = 1;
  int decimals = 0;
  bool unsignedCount = false;
};

constexpr double kKB = 1024.0;
constexpr double kMB = 1048576.0;
// The largest size the dialogs accept, in the unit shown.
constexpr double kMaxShownSize = 1e301;
constexpr QNNumberFormat kSizeInKB{0, kMaxShownSize, kKB, 2};
constexpr QNNumberFormat kSizeInMB{0, kMaxShownSize, kMB, 2};
constexpr QNNumberFormat kUnsignedCount{0, 4294967295.0, 1, 0, true};

struct QNSettingRange {
  std::string_view key;  // the template key, or the member's name
  std::variant<int CQNSettings::*, double CQNSettings::*> member;
  QNNumberFormat format;
  int controlId;
};

std::span<const QNSettingRange> SettingRanges();
// The row of `key`; every key the dialog uses has one.
const QNSettingRange& SettingRange(std::string_view key);

// A member as shown and back; Store rounds to the unit's smallest step away.
double ShownValue(const QNSettingRange& range, const CQNSettings& settings);
void StoreShown(const QNSettingRange& range, double shown, CQNSettings& settings);

}  // namespace qn
