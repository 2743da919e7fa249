#include "settings/TemplateKeys.h"

#include <array>

namespace qn {
namespace {

using S = CQNSettings;
using K = QNKeyKind;

constexpr QNTemplateKey Text(const char* name, std::string S::*m) {
  return {name, K::kText, nullptr, nullptr, m};
}
constexpr QNTemplateKey Int(const char* name, int S::*m, K kind = K::kInteger) {
  return {name, kind, m, nullptr, nullptr};
}
constexpr QNTemplateKey Real(const char* name, double S::*m) {
  return {name, K::kReal, nullptr, m, nullptr};
}
constexpr QNTemplateKey Special(const char* name, K kind) {
  return {name, kind};
}
constexpr QNTemplateKey Later(QNTemplateKey key) {
  key.later = true;
  return key;
}

constexpr std::array<QNTemplateKey, 51> kKeys = {{
    Special("QN_START_URL", K::kStartUrl),
    Int("QN_SINGLE_URL", &S::QN_SINGLE_URL, K::kSwitch),
    Text("QN_USER_ID", &S::QN_USER_ID),
    Text("QN_PASSWORD", &S::QN_PASSWORD),
    Text("QN_PROJECT_DIR", &S::QN_PROJECT_DIR),
    Text("QN_TITLE", &S::QN_TITLE),
    Int("QN_THREADS", &S::QN_THREADS, K::kThreads),
    Int("QN_FILE_TYPES", &S::QN_FILE_TYPES),
    Int("QN_OFFSITE", &S::QN_OFFSITE, K::kSwitch),
    Int("QN_LIM_DS", &S::QN_LIM_DS, K::kSwitch),
    Real("QN_MAX_DS", &S::QN_MAX_DS),
    Int("QN_LIM_FQ", &S::QN_LIM_FQ, K::kSwitch),
    Int("QN_MAX_FQ", &S::QN_MAX_FQ),
    Int("QN_LIM_MAXFS", &S::QN_LIM_MAXFS, K::kSwitch),
    Real("QN_MAX_MAXFS", &S::QN_MAX_MAXFS),
    Int("QN_LIM_MINFS", &S::QN_LIM_MINFS, K::kSwitch),
    Real("QN_MAX_MINFS", &S::QN_MAX_MINFS),
    Int("QN_LIM_TIME", &S::QN_LIM_TIME, K::kSwitch),
    Int("QN_MAX_TIME", &S::QN_MAX_TIME),
    Int("QN_TR_UPDATE", &S::QN_TR_UPDATE, K::kTreeUpdate),
    Int("QN_TR_HTML", &S::QN_TR_HTML, K::kTreeHtml),
    Int("QN_TR_INIT", &S::QN_TR_INIT, K::kSwitch),
    Int("QN_TR_EXTBR", &S::QN_TR_EXTBR, K::kSwitch),
    Int("QN_TR_LIMIT_F", &S::QN_TR_LIMIT_F),
    Int("QN_TR_MAX_F", &S::QN_TR_MAX_F),
    Int("QN_DIRSTR", &S::QN_DIRSTR),
    Int("QN_UMETHOD", &S::QN_UMETHOD),
    Int("QN_UPDLINKS", &S::QN_UPDLINKS),
    Int("QN_TIMEOUT", &S::QN_TIMEOUT),
    Int("QN_RETRIES", &S::QN_RETRIES),
    Int("QN_LIM_L", &S::QN_LIM_L, K::kSwitch),
    Int("QN_MAX_L", &S::QN_MAX_L),
    Int("QN_LIM_OL", &S::QN_LIM_OL, K::kSwitch),
    Int("QN_MAX_OL", &S::QN_MAX_OL),
    Int("QN_DOWN", &S::QN_DOWN),
    Int("QN_PROTOCOL", &S::QN_PROTOCOL),
    Int("QN_DETPREV", &S::QN_DETPREV),
    Int("QN_KEEPHTML", &S::QN_KEEPHTML),
    Special("QN_AGENTID", K::kAgentId),
    Text("QN_DEFFNAME", &S::QN_DEFFNAME),
    Int("QN_REPORT", &S::QN_REPORT),
    Int("QN_RENAMEHTML", &S::QN_RENAMEHTML),
    Int("QN_PAGEBREAK", &S::QN_PAGEBREAK),
    Int("QN_FASTPARSE", &S::QN_FASTPARSE),
    // The crawling settings, which a reader made before them skips as unknown.
    Later(Int("QN_ROBOTS", &S::QN_ROBOTS, K::kSwitch)),
    Later(Int("QN_DELAY_MS", &S::QN_DELAY_MS)),
    Later(Int("QN_LIM_CONN", &S::QN_LIM_CONN, K::kSwitch)),
    Later(Int("QN_MAX_CONN", &S::QN_MAX_CONN)),
    Later(Text("QN_COOKIES", &S::QN_COOKIES)),
    Special("QN_FILE_EXT", K::kFileExt),
    Special("QN_URL_FILTER", K::kUrlFilter),
}};

}  // namespace

std::span<const QNTemplateKey> TemplateKeys() {
  return kKeys;
}

}  // namespace qn
