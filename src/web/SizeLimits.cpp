#include "web/SizeLimits.h"

#include "project/ProjectSettings.h"
#include "text/NoCase.h"
#include "web/Address.h"

namespace qn {
namespace {

const CQNExtEntry* FindEntry(std::string_view address, const CQNSettings& settings) {
  const std::string name = GetFileName(address);
  const std::size_t dot = name.rfind('.');
  if (name.empty() || dot == std::string::npos) return nullptr;
  const std::string_view ext = std::string_view(name).substr(dot + 1);
  const int index = CategoryIndex(ClassifyAddress(name, settings.QN_FILE_EXT, false).category);
  if (index < 0) return nullptr;
  for (const CQNExtEntry& e : settings.QN_FILE_EXT[index])
    if (EqualNoCase(e.extension, ext)) return &e;
  return nullptr;
}

}  // namespace

QNExtensionSizeTest ExtensionSizeTest(double n, std::string_view address,
                                      const CQNSettings& settings, bool maximum) {
  const CQNExtEntry* e = FindEntry(address, settings);
  if (e == nullptr) return {};
  if (maximum) return e->maxOn ? QNExtensionSizeTest{n <= e->max, true} : QNExtensionSizeTest{};
  return e->minOn ? QNExtensionSizeTest{n >= e->min, true} : QNExtensionSizeTest{};
}

bool PassesMaximumSize(double n, const CQNSettings& settings) {
  return !settings.QN_LIM_MAXFS || n <= settings.QN_MAX_MAXFS;
}

bool PassesMinimumSize(double n, const CQNSettings& settings) {
  return !settings.QN_LIM_MINFS || n >= settings.QN_MAX_MINFS;
}

bool DiskSpaceExceeded(std::uint32_t byteTotal, const CQNSettings& settings) {
  return settings.QN_LIM_DS && byteTotal > settings.QN_MAX_DS;
}

QNSizeVerdict SizeDecision(double n, std::string_view address, const CQNSettings& settings) {
  if (!ExtensionSizeTest(n, address, settings, true).passes) return QNSizeVerdict::TooLarge;
  const QNExtensionSizeTest minimum = ExtensionSizeTest(n, address, settings, false);
  if (!minimum.passes) return QNSizeVerdict::TooSmall;
  if (!minimum.hadLimit) {
    if (!PassesMaximumSize(n, settings)) return QNSizeVerdict::TooLarge;
    if (!PassesMinimumSize(n, settings)) return QNSizeVerdict::TooSmall;
  }
  return QNSizeVerdict::Passes;
}

std::optional<double> MaximumSizeFor(std::string_view address, const CQNSettings& settings) {
  if (const CQNExtEntry* e = FindEntry(address, settings); e != nullptr && e->maxOn) return e->max;
  if (settings.QN_LIM_MAXFS) return settings.QN_MAX_MAXFS;
  return std::nullopt;
}

}  // namespace qn
