#include <algorithm>
#include <cstdio>

#include "settings/ExtListChanges.h"
#include "settings/SafeFileWrite.h"
#include "settings/TemplateFile.h"
#include "settings/TemplateKeys.h"

namespace qn {
namespace {

constexpr const char* kLineEnd = "\r\n";

// printf-style text of any length.
template <typename... Args>
std::string Printf(const char* format, Args... args) {
  const int n = std::snprintf(nullptr, 0, format, args...);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  std::snprintf(out.data(), out.size() + 1, format, args...);
  return out;
}

class LineWriter {
 public:
  void Raw(const std::string& line) { out_ += line + kLineEnd; }
  // "%s \t\t\"%s\"", without escaping: a value holding a quote comes back cut. A
  // line break inside a value would end the line and let the rest pass for a line
  // of its own, with a key of its choosing; it is written as a blank instead.
  void Text(const char* key, std::string value) {
    std::replace_if(
        value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    Raw(std::string(key) + " \t\t\"" + value + "\"");
  }
  void Integer(const char* key, int value) { Raw(Printf("%s \t\t%d", key, value)); }
  void Real(const char* key, double value) { Raw(Printf("%s \t\t%f", key, value)); }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

void WriteExtensions(LineWriter& w, const CQNSettings& s) {
  for (int i = 0; i < kCategoryCount; ++i) {
    for (const auto& change : ExtListChanges(s.QN_FILE_EXT[i], DefaultExtensions(i), true)) {
      const CQNExtEntry& e = change.entry;
      if (change.removed) {
        w.Raw(Printf("QN_FILE_EXT \t\t%2d %d \"%s\"", kCategoryOrder[i], 2, e.extension.c_str()));
      } else {
        w.Raw(Printf("QN_FILE_EXT \t\t%2d %d \"%s\" %f %f", kCategoryOrder[i], e.enabled ? 1 : 0,
                     e.extension.c_str(), e.minOn ? e.min : 0.0, e.maxOn ? e.max : 0.0));
      }
    }
  }
}

void WriteUrlFilters(LineWriter& w, const CQNSettings& s) {
  for (const auto& f : s.QN_URL_FILTER)
    w.Raw(Printf("QN_URL_FILTER \t\t%d %2d \"%s\" \t\"%s\" \t\"%s\"", f.include, f.protocol,
                 f.server.c_str(), f.directory.c_str(), f.file.c_str()));
}

}  // namespace

std::string FormatTemplate(const CQNSettings& s) {
  LineWriter w;
  w.Raw(std::string(77, '/'));
  w.Raw("// Quillorne Template");
  w.Raw("//");
  w.Raw("");
  for (const QNTemplateKey& key : TemplateKeys()) {
    switch (key.kind) {
      case QNKeyKind::kStartUrl: {
        const int count = s.QN_SINGLE_URL == 1 ? 1 : s.StartUrlCount;
        for (int i = 0; i < count && i < kMaxStartUrls; ++i) w.Text(key.name, s.QN_START_URL[i]);
        break;
      }
      case QNKeyKind::kText:
        w.Text(key.name, s.*key.textMember);
        break;
      case QNKeyKind::kAgentId:
        w.Text(key.name, s.GetAgentId());
        break;
      case QNKeyKind::kInteger:
      case QNKeyKind::kTreeUpdate:
      case QNKeyKind::kThreads:
        w.Integer(key.name, s.*key.intMember);
        break;
      case QNKeyKind::kSwitch:
        w.Integer(key.name, s.*key.intMember != 0 ? 1 : 0);
        break;
      case QNKeyKind::kTreeHtml:
        w.Integer(key.name, s.*key.intMember == 1 ? 1 : 0);
        break;
      case QNKeyKind::kReal:
        w.Real(key.name, s.*key.realMember);
        break;
      case QNKeyKind::kFileExt:
        WriteExtensions(w, s);
        break;
      case QNKeyKind::kUrlFilter:
        WriteUrlFilters(w, s);
        break;
    }
  }
  return w.Take();
}

bool WriteTemplateFile(const std::string& path, const CQNSettings& settings, std::string& error) {
  return WriteFileSafely(path, FormatTemplate(settings), error);
}

}  // namespace qn
