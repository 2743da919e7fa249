// Eligibility and level tests of a pending node.
#include <cstdint>

#include "engine/Filters.h"
#include "text/NoCase.h"
#include "web/Address.h"

namespace qn {

bool PassesEligibility(CQNDocNode& node, const CQNSettings& settings, const QNFilterScope& scope) {
  if (!scope.localStart && StartsWithNoCase(node.url, "file:")) return false;
  if (scope.downloadKind == kKindSelected || scope.downloadKind == kKindFailed) return true;
  if (scope.preview && !settings.QN_DETPREV && node.type != kCatHtml) return false;

  switch (UrlFilterDecision(settings.QN_URL_FILTER, node.url)) {
    case UrlVerdict::Load:
      node.mark = kMarkAdmitted;
      return true;
    case UrlVerdict::Skip:
      return false;
    case UrlVerdict::NoMatch:
      break;
  }

  if (!settings.QN_OFFSITE) {
    if (scope.startServer.empty()) return false;
    const auto server = GetServerName(node.url);
    if (!server || !EqualNoCase(*server, scope.startServer)) return false;
  }
  if (settings.QN_DOWN && node.sitePos < 0) return false;
  // Pages always pass the type test so that their links can be followed.
  if (node.type != kCatHtml && !(node.type & settings.QN_FILE_TYPES)) return false;
  return node.wanted != 0;
}

bool PassesLevel(const CQNDocNode& node, const CQNSettings& settings, const QNFilterScope& scope) {
  if (scope.downloadKind == kKindSelected || scope.downloadKind == kKindFailed) return true;
  const bool onsite = node.sitePos > kOffsiteBase;
  if (!(onsite ? settings.QN_LIM_L : settings.QN_LIM_OL)) return true;
  const std::int64_t level = node.level;
  if (node.type == kCatHtml) return level <= (onsite ? settings.QN_MAX_L : settings.QN_MAX_OL);
  // Files linked from a page of the last allowed level are still fetched.
  return level <= std::int64_t{settings.QN_MAX_L} + 1;
}

}  // namespace qn
