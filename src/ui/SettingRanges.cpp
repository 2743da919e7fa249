#include "ui/SettingRanges.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/SettingsIds.h"

namespace qn {
namespace {

constexpr QNNumberFormat Whole(double min, double max) {
  return {min, max, 1, 0};
}

const std::array kRanges = {
    QNSettingRange{"QN_THREADS", &CQNSettings::QN_THREADS, Whole(1, kMaxThreads), kIdcThreads},
    QNSettingRange{"QN_MAX_DS", &CQNSettings::QN_MAX_DS, kSizeInMB, kIdcLimDiskSpace},
    QNSettingRange{"QN_MAX_FQ", &CQNSettings::QN_MAX_FQ, kUnsignedCount, kIdcLimFileCount},
    QNSettingRange{"QN_MAX_MAXFS", &CQNSettings::QN_MAX_MAXFS, kSizeInKB, kIdcLimMaxSize},
    QNSettingRange{"QN_MAX_MINFS", &CQNSettings::QN_MAX_MINFS, kSizeInKB, kIdcLimMinSize},
    QNSettingRange{"QN_MAX_TIME", &CQNSettings::QN_MAX_TIME, kUnsignedCount, kIdcLimTime},
    QNSettingRange{"QN_TR_MAX_F", &CQNSettings::QN_TR_MAX_F, Whole(0, 100000), kIdcTreeLimit},
    QNSettingRange{"QN_MAX_L", &CQNSettings::QN_MAX_L, Whole(0, 32000), kIdcLimMainLevel},
    QNSettingRange{"QN_MAX_OL", &CQNSettings::QN_MAX_OL, Whole(0, 32000), kIdcLimOffsiteLevel},
    QNSettingRange{"QN_TIMEOUT", &CQNSettings::QN_TIMEOUT, Whole(10, 600), kIdcTimeout},
    QNSettingRange{"QN_RETRIES", &CQNSettings::QN_RETRIES, Whole(0, 100), kIdcRetries},
    QNSettingRange{"QN_DELAY_MS", &CQNSettings::QN_DELAY_MS, Whole(0, kMaxDelayMs), kIdcDelay},
    QNSettingRange{"QN_MAX_CONN", &CQNSettings::QN_MAX_CONN, Whole(1, kMaxConnectionsPerServer),
                   kIdcMaxConnections},
    // Thousandths of the browser version, shown as the version (4000 is 4.00).
    QNSettingRange{
        "AgentVersion", &CQNSettings::AgentVersion, {0, 1000, 1000, 2}, kIdcAgentVersion},
};

}  // namespace

std::span<const QNSettingRange> SettingRanges() {
  return kRanges;
}

const QNSettingRange& SettingRange(std::string_view key) {
  for (const QNSettingRange& range : kRanges)
    if (range.key == key) return range;
  // A key without a row is a mistake in the dialog's code, found by its first use.
  std::fprintf(stderr, "no range for %s\n", std::string(key).c_str());
  std::abort();
}

double ShownValue(const QNSettingRange& range, const CQNSettings& settings) {
  const QNNumberFormat& f = range.format;
  if (const auto* member = std::get_if<double CQNSettings::*>(&range.member))
    return settings.*(*member) / f.scale;
  const int held = settings.*std::get<int CQNSettings::*>(range.member);
  return (f.unsignedCount ? static_cast<double>(static_cast<std::uint32_t>(held)) : held) / f.scale;
}

void StoreShown(const QNSettingRange& range, double shown, CQNSettings& settings) {
  const QNNumberFormat& f = range.format;
  if (const auto* member = std::get_if<double CQNSettings::*>(&range.member)) {
    settings.*(*member) = shown * f.scale;
    return;
  }
  const double held = std::round(shown * f.scale);
  int& target = settings.*std::get<int CQNSettings::*>(range.member);
  target =
      f.unsignedCount ? static_cast<int>(static_cast<std::uint32_t>(held)) : static_cast<int>(held);
}

}  // namespace qn
