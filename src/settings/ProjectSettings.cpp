#include "settings/ProjectSettings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "text/AddressChars.h"
#include "text/NoCase.h"

namespace qn {
namespace {

std::string WithSeparator(std::string dir) {
  if (dir.empty() || !IsSeparator(dir.back())) dir += '/';
  return dir;
}

// The decimal number after `pos` (blanks skipped, an optional sign, digits with at
// most one "."), in thousandths and truncated. Only decimal digits are read, so an
// exponent, "0x" or "nan" ends the number, and a value beyond an int stays at its
// bound instead of reaching an undefined conversion.
int VersionAfter(const std::string& id, std::size_t pos) {
  const auto digit = [&](std::size_t i) { return i < id.size() && id[i] >= '0' && id[i] <= '9'; };
  while (pos < id.size() && (id[pos] == ' ' || id[pos] == '\t')) ++pos;
  const bool negative = pos < id.size() && id[pos] == '-';
  if (pos < id.size() && (id[pos] == '-' || id[pos] == '+')) ++pos;
  constexpr std::int64_t kWholeBound = std::numeric_limits<int>::max() / 1000 + 1;
  std::int64_t whole = 0;
  for (; digit(pos); ++pos) whole = std::min(whole * 10 + (id[pos] - '0'), kWholeBound);
  std::int64_t fraction = 0;
  int places = 0;
  if (pos < id.size() && id[pos] == '.')
    for (++pos; digit(pos); ++pos)
      if (places < 3) {
        fraction = fraction * 10 + (id[pos] - '0');
        ++places;
      }
  for (; places < 3; ++places) fraction *= 10;
  const std::int64_t thousandths = (whole * 1000 + fraction) * (negative ? -1 : 1);
  return static_cast<int>(std::clamp<std::int64_t>(thousandths, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace

std::string DefaultProjectDir(const std::string& lastFilesDir, const std::string& programDir) {
  if (!lastFilesDir.empty()) return WithSeparator(lastFilesDir);
  return WithSeparator(programDir) + "Download/";
}

void CQNSettings::ResetToDefaults(const std::string& lastFilesDir, const std::string& programDir) {
  *this = CQNSettings{};
  QN_PROJECT_DIR = DefaultProjectDir(lastFilesDir, programDir);
}

std::string CQNSettings::GetAgentId() const {
  char buf[1040];
  const double version = AgentVersion / 1000.0;
  switch (AgentKind) {
    case 0:
      std::snprintf(buf, sizeof buf, "Quillorne v%s", kProgramVersion);
      break;
    case 1:
      return "Anonymous";
    case 2:
      std::snprintf(buf, sizeof buf, "Mozilla/4.0 (compatible; MSIE %.2f;)", version);
      break;
    case 3:
      std::snprintf(buf, sizeof buf, "Mozilla/%.1f [en] (Windows; I)", version);
      break;
    case 4:
      std::snprintf(buf, sizeof buf, "Mozilla/4.0 (Windows;) Opera %.2f [en]", version);
      break;
    case 5:
      return AgentString.substr(0, kMaxAddressLength);
    default:
      return {};
  }
  return buf;
}

void CQNSettings::ParseAgentId(const std::string& id) {
  std::size_t pos;
  if (FindNoCase(id, "Quillorne") != std::string::npos) {
    AgentKind = 0;
  } else if (EqualNoCase(id, "Anonymous")) {
    AgentKind = 1;
  } else if ((pos = FindNoCase(id, "MSIE")) != std::string::npos) {
    AgentKind = 2;
    AgentVersion = VersionAfter(id, pos + 4);
  } else if ((pos = FindNoCase(id, "Opera")) != std::string::npos) {
    AgentKind = 4;
    AgentVersion = VersionAfter(id, pos + 5);
  } else if ((pos = FindNoCase(id, "Mozilla/")) != std::string::npos) {
    AgentKind = 3;
    AgentVersion = VersionAfter(id, pos + 8);
  } else {
    AgentKind = 5;
    AgentString = id;
  }
}

bool CQNSettings::IsEqual(const CQNSettings& o) const {
  for (int i = 0; i < kMaxStartUrls; ++i)
    if (!EqualNoCase(QN_START_URL[i], o.QN_START_URL[i])) return false;
  if (QN_FILE_EXT.size() != o.QN_FILE_EXT.size()) return false;
  for (std::size_t c = 0; c < QN_FILE_EXT.size(); ++c) {
    const auto& a = QN_FILE_EXT[c];
    const auto& b = o.QN_FILE_EXT[c];
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      // The list editor edits name, enabled flag and both limits; nothing else counts.
      if (!EqualNoCase(a[i].extension, b[i].extension) || a[i].enabled != b[i].enabled ||
          a[i].maxOn != b[i].maxOn || a[i].max != b[i].max || a[i].minOn != b[i].minOn ||
          a[i].min != b[i].min)
        return false;
    }
  }
  return StartUrlCount == o.StartUrlCount && QN_SINGLE_URL == o.QN_SINGLE_URL &&
         QN_USER_ID == o.QN_USER_ID && QN_PASSWORD == o.QN_PASSWORD &&
         EqualNoCase(QN_PROJECT_DIR, o.QN_PROJECT_DIR) && QN_TITLE == o.QN_TITLE &&
         QN_THREADS == o.QN_THREADS && QN_FILE_TYPES == o.QN_FILE_TYPES &&
         QN_OFFSITE == o.QN_OFFSITE && QN_LIM_DS == o.QN_LIM_DS && QN_MAX_DS == o.QN_MAX_DS &&
         QN_LIM_FQ == o.QN_LIM_FQ && QN_MAX_FQ == o.QN_MAX_FQ && QN_LIM_MAXFS == o.QN_LIM_MAXFS &&
         QN_MAX_MAXFS == o.QN_MAX_MAXFS && QN_LIM_MINFS == o.QN_LIM_MINFS &&
         QN_MAX_MINFS == o.QN_MAX_MINFS && QN_LIM_TIME == o.QN_LIM_TIME &&
         QN_MAX_TIME == o.QN_MAX_TIME && QN_TR_UPDATE == o.QN_TR_UPDATE &&
         QN_TR_HTML == o.QN_TR_HTML && QN_TR_INIT == o.QN_TR_INIT && QN_TR_EXTBR == o.QN_TR_EXTBR &&
         QN_TR_LIMIT_F == o.QN_TR_LIMIT_F && QN_TR_MAX_F == o.QN_TR_MAX_F &&
         LinkOrder == o.LinkOrder && QN_DIRSTR == o.QN_DIRSTR && QN_UMETHOD == o.QN_UMETHOD &&
         QN_UPDLINKS == o.QN_UPDLINKS && QN_TIMEOUT == o.QN_TIMEOUT && QN_RETRIES == o.QN_RETRIES &&
         QN_LIM_L == o.QN_LIM_L && QN_MAX_L == o.QN_MAX_L && QN_LIM_OL == o.QN_LIM_OL &&
         QN_MAX_OL == o.QN_MAX_OL && QN_DOWN == o.QN_DOWN && QN_PROTOCOL == o.QN_PROTOCOL &&
         QN_DETPREV == o.QN_DETPREV && QN_KEEPHTML == o.QN_KEEPHTML && AgentKind == o.AgentKind &&
         AgentVersion == o.AgentVersion && EqualNoCase(AgentString, o.AgentString) &&
         DownloadState == o.DownloadState && QN_URL_FILTER == o.QN_URL_FILTER &&
         EqualNoCase(QN_DEFFNAME, o.QN_DEFFNAME) && QN_REPORT == o.QN_REPORT &&
         QN_RENAMEHTML == o.QN_RENAMEHTML && QN_PAGEBREAK == o.QN_PAGEBREAK &&
         SubmitLoginForms == o.SubmitLoginForms && ProcessForms == o.ProcessForms &&
         EncryptProjectFiles == o.EncryptProjectFiles &&
         EncryptDownloadedFiles == o.EncryptDownloadedFiles &&
         EncryptionPassword == o.EncryptionPassword && QN_FASTPARSE == o.QN_FASTPARSE &&
         QN_ROBOTS == o.QN_ROBOTS && QN_DELAY_MS == o.QN_DELAY_MS && QN_LIM_CONN == o.QN_LIM_CONN &&
         QN_MAX_CONN == o.QN_MAX_CONN && QN_COOKIES == o.QN_COOKIES;
}

void KeepCrawlingInRange(CQNSettings& s) {
  s.QN_DELAY_MS = std::clamp(s.QN_DELAY_MS, 0, kMaxDelayMs);
  s.QN_MAX_CONN = std::clamp(s.QN_MAX_CONN, 1, kMaxConnectionsPerServer);
}

}  // namespace qn
