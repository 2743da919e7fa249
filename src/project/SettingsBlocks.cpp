#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <tuple>
#include <vector>

#include "project/ProjectFileFormat.h"
#include "settings/ExtListChanges.h"

namespace qn {
namespace {

constexpr double kMegabyte = 1048576.0;
constexpr std::uint8_t kRemovedFlag = 2;

// Whole megabytes, truncated; values no int can hold are saturated rather than
// left to an undefined conversion (block 2 carries the exact value anyway).
std::int32_t WholeMegabytes(double bytes) {
  const double mb = std::trunc(bytes / kMegabyte);
  if (std::isnan(mb)) return 0;
  if (mb >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (mb <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(mb);
}

using FilterKey = std::tuple<int, int, std::string, std::string, std::string>;

}  // namespace

void WriteBlock1(QNBinaryWriter& w, const CQNSettings& s) {
  w.String(s.QN_START_URL[0]);
  w.String(s.QN_USER_ID);
  w.String(s.QN_PASSWORD);
  w.String(s.QN_PROJECT_DIR);
  w.String(s.QN_TITLE);
  for (int v : {s.QN_THREADS, s.QN_FILE_TYPES, s.QN_OFFSITE, s.QN_LIM_DS}) w.Int(v);
  w.Int(WholeMegabytes(s.QN_MAX_DS));
  for (int v : {s.QN_LIM_FQ, s.QN_MAX_FQ, s.QN_LIM_MAXFS}) w.Int(v);
  w.Real(s.QN_MAX_MAXFS);
  for (int v : {s.QN_LIM_TIME, s.QN_MAX_TIME, s.QN_TR_UPDATE, s.SpareFlag, s.QN_TR_HTML,
                s.QN_TR_INIT, s.LinkOrder, s.QN_DIRSTR, s.QN_UMETHOD, s.QN_UPDLINKS})
    w.Int(v);
  for (std::int32_t v : PackWords(s)) w.Int(v);
}

void ReadBlock1(QNBinaryReader& r, CQNSettings& s) {
  s.QN_SINGLE_URL = 1;  // an older file ends before block 4
  s.QN_START_URL[0] = r.String();
  s.QN_USER_ID = r.String();
  s.QN_PASSWORD = r.String();
  s.QN_PROJECT_DIR = r.String();
  s.QN_TITLE = r.String();
  for (int* m : {&s.QN_THREADS, &s.QN_FILE_TYPES, &s.QN_OFFSITE, &s.QN_LIM_DS}) *m = r.Int();
  s.QN_THREADS = ThreadsInRange(s.QN_THREADS);
  // 0 and 1 come from files that kept the limit elsewhere; block 2 has the exact value.
  if (const std::int32_t mb = r.Int(); mb != 0 && mb != 1) s.QN_MAX_DS = mb * kMegabyte;
  for (int* m : {&s.QN_LIM_FQ, &s.QN_MAX_FQ, &s.QN_LIM_MAXFS}) *m = r.Int();
  s.QN_MAX_MAXFS = r.Real();
  for (int* m : {&s.QN_LIM_TIME, &s.QN_MAX_TIME, &s.QN_TR_UPDATE, &s.SpareFlag, &s.QN_TR_HTML,
                 &s.QN_TR_INIT, &s.LinkOrder, &s.QN_DIRSTR, &s.QN_UMETHOD, &s.QN_UPDLINKS})
    *m = r.Int();
  if (s.QN_TR_UPDATE == 3) s.QN_TR_UPDATE = 2;
  s.LinkOrder = 0;
  QNPackedWords words;
  for (auto& v : words) v = r.Int();
  s.TransferWords = words;
  UnpackWords(words, s);
  s.DownloadDir = s.QN_PROJECT_DIR;  // block 3 has the folder actually used
}

void WriteBlock2(QNBinaryWriter& w, const CQNSettings& s) {
  w.Real(s.QN_MAX_DS);
  w.Int(s.QN_LIM_MINFS);
  w.Real(s.QN_MAX_MINFS);
  for (int i = 0; i < 10; ++i) w.Int(0);
  for (int i = 0; i < kCategoryCount; ++i) {
    // Changes from the stored base: a reader that knows only those defaults gets
    // the later ones as added entries, in the order of the list, so that the
    // positional size limits of block 4 reach the right entries.
    const auto changes = ExtListChanges(s.QN_FILE_EXT[i], StoredBaseExtensions(i), false);
    w.Int(static_cast<std::int32_t>(changes.size()));
    for (const auto& c : changes) {
      w.Int(kCategoryOrder[i]);
      w.Byte(c.removed ? kRemovedFlag : (c.entry.enabled != 0 ? 1 : 0));
      w.String(c.entry.extension);
    }
  }
  w.Int(static_cast<std::int32_t>(s.QN_URL_FILTER.size()));
  for (const auto& f : s.QN_URL_FILTER) {
    w.Int(f.include);
    w.Int(f.protocol);
    w.String(f.server);
    w.String(f.directory);
    w.String(f.file);
  }
}

void ReadBlock2(QNBinaryReader& r, CQNSettings& s) {
  s.QN_MAX_DS = r.Real();
  s.QN_LIM_MINFS = r.Int();
  s.QN_MAX_MINFS = r.Real();
  for (int i = 0; i < 10; ++i) r.Int();

  // The file holds changes from the stored base, not from today's defaults.
  s.QN_FILE_EXT = StoredBaseExtLists();
  std::vector<QNExtListEditor> editors;
  editors.reserve(kCategoryCount);
  for (auto& list : s.QN_FILE_EXT) editors.emplace_back(list);
  try {
    for (int i = 0; i < kCategoryCount; ++i) {
      const std::int32_t count = r.Int();
      for (std::int32_t k = 0; k < count; ++k) {
        const std::int32_t category = r.Int();
        const std::uint8_t flag = r.Byte();
        const std::string name = r.String(kMaxExtensionLength);
        if (category != kCategoryOrder[i]) continue;
        if (flag == kRemovedFlag)
          editors[i].Remove(name);
        else if (flag <= 1)
          editors[i].SetEnabled(name, flag);
      }
    }
  } catch (const QNReadError&) {
    for (auto& e : editors) e.Commit();
    throw;
  }
  for (auto& e : editors) e.Commit();

  std::set<FilterKey> seen;
  for (const auto& f : s.QN_URL_FILTER)
    seen.emplace(f.include, f.protocol, f.server, f.directory, f.file);
  const std::int32_t filters = r.Int();
  for (std::int32_t k = 0; k < filters; ++k) {
    CQNUrlFilter f;
    f.include = r.Int();
    f.protocol = r.Int();
    f.server = r.String();
    f.directory = r.String();
    f.file = r.String();
    if (seen.emplace(f.include, f.protocol, f.server, f.directory, f.file).second)
      s.QN_URL_FILTER.push_back(std::move(f));
  }
}

void WriteBlock3(QNBinaryWriter& w, const CQNSettings& s) {
  w.String(s.AgentString);
  w.String(s.DownloadDir);
}

void ReadBlock3(QNBinaryReader& r, CQNSettings& s) {
  s.AgentString = r.String();
  s.DownloadDir = r.String();
}

void WriteBlock4(QNBinaryWriter& w, const CQNSettings& s) {
  w.String(s.QN_DEFFNAME);
  for (const auto& list : s.QN_FILE_EXT) {
    w.Int(static_cast<std::int32_t>(list.size()));
    for (const auto& e : list) {
      w.Byte(e.minOn);
      w.Real(e.min);
      w.Byte(e.maxOn);
      w.Real(e.max);
    }
  }
  const int count = std::clamp(s.StartUrlCount, 1, kMaxStartUrls);
  w.Int(s.QN_SINGLE_URL);
  w.Int(count);
  for (int i = 0; i < count; ++i) w.String(s.QN_START_URL[i]);
  for (int v : {s.QN_REPORT, s.QN_RENAMEHTML, s.QN_PAGEBREAK, s.SubmitLoginForms, s.ProcessForms,
                s.EncryptProjectFiles, s.EncryptDownloadedFiles, s.QN_FASTPARSE})
    w.Int(v);
}

void ReadBlock4(QNBinaryReader& r, CQNSettings& s) {
  s.QN_DEFFNAME = r.String();
  for (auto& list : s.QN_FILE_EXT) {
    const std::int32_t count = r.Int();
    // Entries beyond the list are read and dropped, so that the records after them
    // are still read from the right place.
    for (std::int32_t k = 0; k < count; ++k) {
      const std::uint8_t minOn = r.Byte();
      const double min = r.Real();
      const std::uint8_t maxOn = r.Byte();
      const double max = r.Real();
      if (static_cast<std::size_t>(k) >= list.size()) continue;
      CQNExtEntry& e = list[static_cast<std::size_t>(k)];
      e.minOn = minOn;
      e.min = min;
      e.maxOn = maxOn;
      e.max = max;
    }
  }
  s.QN_SINGLE_URL = r.Int();
  // At most 100 addresses are kept, and at least the one of block 1 stays in use.
  const std::int32_t addresses = r.Int();
  for (std::int32_t k = 0; k < addresses; ++k) {
    std::string address = r.String();
    if (k >= kMaxStartUrls) continue;
    s.QN_START_URL[static_cast<std::size_t>(k)] = std::move(address);
    s.StartUrlCount = k + 1;
  }
  for (int* m :
       {&s.QN_REPORT, &s.QN_RENAMEHTML, &s.QN_PAGEBREAK, &s.SubmitLoginForms, &s.ProcessForms,
        &s.EncryptProjectFiles, &s.EncryptDownloadedFiles, &s.QN_FASTPARSE})
    *m = r.Int();
}

}  // namespace qn
