#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include "settings/ExtListChanges.h"
#include "settings/TemplateFile.h"
#include "settings/TemplateKeys.h"
#include "text/NoCase.h"

namespace qn {
namespace {

constexpr std::size_t kPieceLength = 255;
constexpr std::size_t kMaxTextValue = 255;
constexpr std::size_t kMaxRealWord = 127;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsSpace(char c) {
  return IsBlank(c) || c == '\v' || c == '\f';
}

// The next piece of a line as a text-mode read of at most 255 characters gives it:
// "\r\n" counts as one line feed, and a longer line goes on in the next piece.
bool NextPiece(std::istream& in, std::string& piece) {
  piece.clear();
  while (piece.size() < kPieceLength) {
    int c = in.get();
    if (c == std::char_traits<char>::eof()) break;
    if (c == '\r' && in.peek() == '\n') c = in.get();
    piece += static_cast<char>(c);
    if (c == '\n') break;
  }
  return !piece.empty();
}

// Reads the fields of a value the way scanf conversions do: each skips white space
// first and fails without consuming anything useful.
class FieldScanner {
 public:
  explicit FieldScanner(std::string_view text) : text_(text) {}

  std::optional<int> Int() {
    SkipSpace();
    const std::string rest(text_.substr(pos_));
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(rest.c_str(), &end, 10);
    if (end == rest.c_str()) return std::nullopt;
    pos_ += static_cast<std::size_t>(end - rest.c_str());
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
  }

  std::optional<double> Real() {
    SkipSpace();
    const std::string rest(text_.substr(pos_));
    char* end = nullptr;
    const double v = std::strtod(rest.c_str(), &end);
    if (end == rest.c_str()) return std::nullopt;
    pos_ += static_cast<std::size_t>(end - rest.c_str());
    return v;
  }

  std::optional<std::string> Word() {
    SkipSpace();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
    if (pos_ == start) return std::nullopt;
    return std::string(text_.substr(start, pos_ - start));
  }

 private:
  void SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
  }
  std::string_view text_;
  std::size_t pos_ = 0;
};

std::string WithoutQuotes(std::string word) {
  std::erase(word, '"');
  return word;
}

// A quoted value: the text after the first double quote up to the next one, where
// two quotes in a row stay in the value and do not end it. Nothing without a quote.
std::optional<std::string> TextValue(std::string_view v) {
  const std::size_t open = v.find('"');
  if (open == std::string_view::npos) return std::nullopt;
  std::string text;
  for (std::size_t i = open + 1; i < v.size(); ++i) {
    if (v[i] == '"') {
      if (i + 1 < v.size() && v[i + 1] == '"') {
        text += "\"\"";
        ++i;
        continue;
      }
      break;
    }
    text += v[i];
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  if (text.size() > kMaxTextValue) text.resize(kMaxTextValue);
  return text;
}

using FilterKey = std::tuple<int, int, std::string, std::string, std::string>;
FilterKey KeyOf(const CQNUrlFilter& f) {
  return {f.include, f.protocol, f.server, f.directory, f.file};
}

class TemplateReader {
 public:
  explicit TemplateReader(CQNSettings& s) : s_(s) {
    for (auto& list : s.QN_FILE_EXT) editors_.emplace_back(list);
    for (const auto& f : s.QN_URL_FILTER) filters_.insert(KeyOf(f));
  }

  bool Read(std::istream& in) {
    s_.StartUrlCount = 0;
    std::string piece;
    while (NextPiece(in, piece)) Line(piece);
    if (s_.StartUrlCount == 0) s_.StartUrlCount = 1;
    for (auto& editor : editors_) editor.Commit();
    // Every template written since the crawling keys exist holds them.
    if (!laterKeys_) SettleLaterDefaults(s_.QN_FILE_EXT, false);
    KeepCrawlingInRange(s_);
    return known_ && !failed_;
  }

 private:
  void Line(std::string line) {
    // A C-string reader sees nothing past a NUL; the line ends at its line feed.
    if (const auto nul = line.find('\0'); nul != std::string::npos) line.resize(nul);
    if (const auto lf = line.rfind('\n'); lf != std::string::npos) line.resize(lf);

    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) ++start;
    std::size_t end = start;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    if (end == start) return;
    const std::string_view word = std::string_view(line).substr(start, end - start);
    if (word.starts_with("//")) return;
    for (const QNTemplateKey& key : TemplateKeys()) {
      if (EqualNoCase(word, key.name)) {
        known_ = true;
        laterKeys_ = laterKeys_ || key.later;
        if (!Apply(key, std::string_view(line).substr(end))) failed_ = true;
        return;
      }
    }
  }

  bool Apply(const QNTemplateKey& key, std::string_view value) {
    switch (key.kind) {
      case QNKeyKind::kText:
        if (auto text = TextValue(value)) s_.*key.textMember = std::move(*text);
        return true;
      case QNKeyKind::kStartUrl:
        if (auto text = TextValue(value); text && s_.StartUrlCount < kMaxStartUrls)
          s_.QN_START_URL[s_.StartUrlCount++] = std::move(*text);
        return true;
      case QNKeyKind::kAgentId:
        if (auto text = TextValue(value)) s_.ParseAgentId(*text);
        return true;
      case QNKeyKind::kInteger:
      case QNKeyKind::kSwitch:
        if (auto v = FieldScanner(value).Int()) s_.*key.intMember = *v;
        return true;
      case QNKeyKind::kTreeUpdate:
        if (auto v = FieldScanner(value).Int()) s_.*key.intMember = *v == 3 ? 2 : *v;
        return true;
      case QNKeyKind::kThreads:
        if (auto v = FieldScanner(value).Int()) s_.*key.intMember = ThreadsInRange(*v);
        return true;
      case QNKeyKind::kTreeHtml:
        if (auto v = FieldScanner(value).Int()) s_.*key.intMember = *v != 0 ? 1 : kAllCategories;
        return true;
      case QNKeyKind::kReal:
        if (auto word = FieldScanner(value).Word()) {
          word->resize(std::min(word->size(), kMaxRealWord));
          s_.*key.realMember = std::strtod(word->c_str(), nullptr);
        }
        return true;
      case QNKeyKind::kFileExt:
        return FileExt(value);
      case QNKeyKind::kUrlFilter:
        return UrlFilter(value);
    }
    return true;
  }

  // category, enabled (2: removed), quoted name, minimum, maximum.
  bool FileExt(std::string_view value) {
    FieldScanner scan(value);
    const auto category = scan.Int();
    const auto enabled = category ? scan.Int() : std::nullopt;
    const auto word = enabled ? scan.Word() : std::nullopt;
    if (!word) return false;
    const std::optional<double> min = scan.Real();
    std::optional<double> max;
    if (min) max = scan.Real();
    const int index = CategoryIndex(*category);
    if (index < 0) return false;

    std::string name = WithoutQuotes(*word);
    if (name.size() > kMaxExtensionLength) name.resize(kMaxExtensionLength);
    QNExtListEditor& editor = editors_[static_cast<std::size_t>(index)];
    if (*enabled == 2) {
      editor.Remove(name);
      return true;
    }
    CQNExtEntry& e = editor.SetEnabled(name, *enabled != 0 ? 1 : 0);
    // The writer puts 0 for a limit that is off, so 0 reads as off like a missing
    // value; a limit of 0 bytes would otherwise refuse every file of the extension.
    const auto limit = [](const std::optional<double>& v) { return v && *v != -1 && *v != 0; };
    e.minOn = limit(min) ? 1 : 0;
    e.min = e.minOn ? min.value_or(0) : 0;
    e.maxOn = limit(max) ? 1 : 0;
    e.max = e.maxOn ? max.value_or(0) : 0;
    return true;
  }

  // include flag, protocol, server, directory, file name.
  bool UrlFilter(std::string_view value) {
    FieldScanner scan(value);
    const auto include = scan.Int();
    const auto protocol = include ? scan.Int() : std::nullopt;
    const auto server = protocol ? scan.Word() : std::nullopt;
    const auto directory = server ? scan.Word() : std::nullopt;
    const auto file = directory ? scan.Word() : std::nullopt;
    if (!file) return false;
    CQNUrlFilter f{*include, *protocol, WithoutQuotes(*server), WithoutQuotes(*directory),
                   WithoutQuotes(*file)};
    if (filters_.insert(KeyOf(f)).second) s_.QN_URL_FILTER.push_back(std::move(f));
    return true;
  }

  CQNSettings& s_;
  std::vector<QNExtListEditor> editors_;
  std::set<FilterKey> filters_;
  bool known_ = false;
  bool failed_ = false;
  bool laterKeys_ = false;  // a key of the crawling settings was met
};

}  // namespace

bool ReadTemplate(std::istream& in, CQNSettings& settings) {
  return TemplateReader(settings).Read(in);
}

bool ReadTemplateFile(const std::string& path, CQNSettings& settings) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  return ReadTemplate(in, settings);
}

}  // namespace qn
