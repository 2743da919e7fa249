// Size tests: an extension's own limits, the global limits and the disk space.
#include "web/SizeTests.h"

#include "text/NoCase.h"
#include "web/Address.h"

namespace qn {

QNSizeTest ExtensionSizeTest(const CQNSettings& settings, std::int64_t size,
                             std::string_view address, SizeKind kind) {
  const std::string fileName = GetFileName(address);
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return {};
  const int index = CategoryIndex(ClassifyAddress(fileName, settings.QN_FILE_EXT, false).category);
  if (index < 0) return {};
  const std::string_view extension = std::string_view(fileName).substr(dot + 1);
  for (const CQNExtEntry& entry : settings.QN_FILE_EXT[index]) {
    if (!EqualNoCase(entry.extension, extension)) continue;
    const auto n = static_cast<double>(size);
    if (kind == SizeKind::Minimum)
      return entry.minOn ? QNSizeTest{n >= entry.min, true} : QNSizeTest{};
    return entry.maxOn ? QNSizeTest{n <= entry.max, true} : QNSizeTest{};
  }
  return {};
}

bool PassesMaxSize(const CQNSettings& settings, std::int64_t size) {
  return !settings.QN_LIM_MAXFS || static_cast<double>(size) <= settings.QN_MAX_MAXFS;
}

bool ExceedsMaxSize(const CQNSettings& settings, std::int64_t size, std::string_view address) {
  const QNSizeTest own = ExtensionSizeTest(settings, size, address, SizeKind::Maximum);
  return own.hadLimit ? !own.passes : !PassesMaxSize(settings, size);
}

bool PassesMinSize(const CQNSettings& settings, std::int64_t size) {
  return !settings.QN_LIM_MINFS || static_cast<double>(size) >= settings.QN_MAX_MINFS;
}

bool PassesDiskSpace(const CQNSettings& settings, std::int64_t byteTotal) {
  return !settings.QN_LIM_DS || static_cast<double>(byteTotal) <= settings.QN_MAX_DS;
}

SizeVerdict SizeLimits(const CQNSettings& settings, std::int64_t size, std::string_view address) {
  const QNSizeTest max = ExtensionSizeTest(settings, size, address, SizeKind::Maximum);
  if (!max.passes) return SizeVerdict::TooLarge;
  const QNSizeTest min = ExtensionSizeTest(settings, size, address, SizeKind::Minimum);
  if (!min.passes) return SizeVerdict::TooSmall;
  if (!max.hadLimit && !PassesMaxSize(settings, size)) return SizeVerdict::TooLarge;
  if (!min.hadLimit && !PassesMinSize(settings, size)) return SizeVerdict::TooSmall;
  return SizeVerdict::Ok;
}

SizeVerdict PreDownloadSizeDecision(const CQNSettings& settings, std::int64_t size,
                                    std::string_view address, std::int64_t byteTotal) {
  const SizeVerdict verdict = SizeLimits(settings, size, address);
  if (verdict != SizeVerdict::Ok) return verdict;
  return PassesDiskSpace(settings, byteTotal) ? SizeVerdict::Ok : SizeVerdict::DiskFull;
}

}  // namespace qn
