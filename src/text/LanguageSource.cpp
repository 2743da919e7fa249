#include "text/LanguageSource.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "text/CodePage.h"

namespace qn {
namespace {

constexpr const char* kTableWords[] = {"menu", "dialog", "string"};
constexpr const char* kFontWords[] = {"menus", "dialogs", "reserved"};

// The words and quoted texts of one line.
class QNSourceLine {
 public:
  explicit QNSourceLine(std::string_view line) : line_(line) {}

  bool AtEnd() {
    SkipBlanks();
    return at_ == line_.size();
  }

  // The next word: anything up to a blank, "=" or a quote.
  std::string_view Word() {
    SkipBlanks();
    const std::size_t start = at_;
    while (at_ < line_.size() && line_[at_] != ' ' && line_[at_] != '\t' && line_[at_] != '=' &&
           line_[at_] != '"')
      ++at_;
    return line_.substr(start, at_ - start);
  }

  bool Take(char c) {
    SkipBlanks();
    if (at_ == line_.size() || line_[at_] != c) return false;
    ++at_;
    return true;
  }

  // A text in double quotes, its escapes resolved.
  std::optional<std::string> Quoted(std::string& why) {
    if (!Take('"')) {
      why = "a text in double quotes is missing";
      return std::nullopt;
    }
    std::string text;
    while (at_ < line_.size() && line_[at_] != '"') {
      char c = line_[at_++];
      if (c == '\\') {
        if (at_ == line_.size()) break;
        const char e = line_[at_++];
        const std::string_view plain = "\"\\nrt";
        const std::string_view meant = "\"\\\n\r\t";
        const std::size_t k = plain.find(e);
        if (k == std::string_view::npos) {
          why = std::string("unknown escape \\") + e;
          return std::nullopt;
        }
        c = meant[k];
      }
      text += c;
    }
    if (!Take('"')) {
      why = "the text has no closing double quote";
      return std::nullopt;
    }
    return text;
  }

 private:
  void SkipBlanks() {
    while (at_ < line_.size() && (line_[at_] == ' ' || line_[at_] == '\t')) ++at_;
  }

  std::string_view line_;
  std::size_t at_ = 0;
};

// A 32-bit id: decimal (negative or up to 4294967295, kept as its 32 bits) or
// "~N", the complement of N.
std::optional<std::int32_t> ParseId(std::string_view word) {
  const bool complement = !word.empty() && word.front() == '~';
  if (complement) word.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (word.empty() || error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  if (complement) {
    if (value < 0 || value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return ~static_cast<std::int32_t>(value);
  }
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::uint32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value & 0xFFFFFFFF));
}

std::string FormatId(std::int32_t id) {
  return id < 0 ? "~" + std::to_string(~id) : std::to_string(id);
}

template <std::size_t N>
int IndexOf(const char* const (&words)[N], std::string_view word) {
  for (std::size_t i = 0; i < N; ++i)
    if (word == words[i]) return static_cast<int>(i);
  return -1;
}

template <typename T>
bool ParseNumber(std::string_view text, T& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

class QNSourceParser {
 public:
  std::optional<QNLanguageData> Parse(std::string_view source) {
    std::size_t number = 0;
    while (!source.empty()) {
      ++number;
      const std::size_t end = source.find('\n');
      std::string_view line = source.substr(0, end);
      source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      std::string why;
      if (!Line(line, why)) {
        why_ = "line " + std::to_string(number) + ": " + why;
        return std::nullopt;
      }
    }
    return std::move(data_);
  }

  const std::string& Why() const { return why_; }

 private:
  bool Line(std::string_view text, std::string& why) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos || text[start] == '#') return true;
    if (!IsUtf8(text)) {
      why = "the line is not UTF-8 text";
      return false;
    }
    QNSourceLine line(text);
    const std::string_view first = line.Word();
    bool ok = false;
    if (first == "language" || first == "encoding") {
      const auto value = line.Quoted(why);
      if (!value) return false;
      (first == "language" ? data_.name : data_.encoding) = *value;
      ok = true;
    } else if (first == "font") {
      ok = Font(line, why);
    } else if (const int table = IndexOf(kTableWords, first); table >= 0) {
      ok = Entry(static_cast<std::size_t>(table), line, why);
    } else {
      why = "unknown entry '" + std::string(first) + "'";
    }
    if (ok && !line.AtEnd()) {
      why = "unexpected text after the entry";
      ok = false;
    }
    return ok;
  }

  bool Font(QNSourceLine& line, std::string& why) {
    const int which = IndexOf(kFontWords, line.Word());
    if (which < 0) {
      why = "a font is \"menus\", \"dialogs\" or \"reserved\"";
      return false;
    }
    QNFontRecord& font = data_.fonts[static_cast<std::size_t>(which)];
    while (!line.AtEnd()) {
      const std::string field(line.Word());
      if (!line.Take('=')) {
        why = "a font field is written name=value";
        return false;
      }
      bool ok = true;
      if (field == "face") {
        const auto face = line.Quoted(why);
        if (!face) return false;
        font.face = *face;
      } else if (field == "height") {
        ok = ParseNumber(line.Word(), font.height);
      } else if (field == "weight") {
        ok = ParseNumber(line.Word(), font.weight);
      } else if (field == "charset") {
        ok = ParseNumber(line.Word(), font.charset);
      } else if (field == "pitch") {
        ok = ParseNumber(line.Word(), font.pitchAndFamily);
      } else {
        why = "unknown font field '" + field + "'";
        return false;
      }
      if (!ok) {
        why = "the value of " + field + " is not a number in its range";
        return false;
      }
    }
    return true;
  }

  bool Entry(std::size_t table, QNSourceLine& line, std::string& why) {
    const auto groupId = ParseId(line.Word());
    if (!groupId) {
      why = "the group id is not a number";
      return false;
    }
    const std::string_view itemWord = line.Word();
    const bool caption = itemWord == "caption";
    const auto itemId = caption ? std::optional<std::int32_t>(0) : ParseId(itemWord);
    if (!itemId) {
      why = "the id is not a number, a ~number or \"caption\"";
      return false;
    }
    const auto text = line.Quoted(why);
    if (!text) return false;
    QNLanguageGroup& group = Group(table, *groupId);
    if (caption) {
      if (!captions_.emplace(table, *groupId).second) {
        why = "the group already has a caption";
        return false;
      }
      group.name = *text;
      return true;
    }
    if (!items_.emplace(std::tuple(table, *groupId, *itemId)).second) {
      why = "the group already has a text for " + FormatId(*itemId);
      return false;
    }
    group.items.push_back({*itemId, *text});
    return true;
  }

  QNLanguageGroup& Group(std::size_t table, std::int32_t id) {
    std::vector<QNLanguageGroup>& groups = data_.tables[table];
    const auto [at, added] = groupIndex_.emplace(std::pair(table, id), groups.size());
    if (added) groups.push_back({id, "", {}});
    return groups[at->second];
  }

  QNLanguageData data_;
  std::map<std::pair<std::size_t, std::int32_t>, std::size_t> groupIndex_;
  std::set<std::pair<std::size_t, std::int32_t>> captions_;
  std::set<std::tuple<std::size_t, std::int32_t, std::int32_t>> items_;
  std::string why_;
};

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        quoted += c;
    }
  }
  return quoted + "\"";
}

std::string FontLine(const char* which, const QNFontRecord& font) {
  const QNFontRecord keep;
  std::string line = std::string("font ") + which;
  if (font.height != keep.height) line += " height=" + std::to_string(font.height);
  if (font.weight != keep.weight) line += " weight=" + std::to_string(font.weight);
  if (font.charset != keep.charset) line += " charset=" + std::to_string(font.charset);
  if (font.pitchAndFamily != keep.pitchAndFamily)
    line += " pitch=" + std::to_string(font.pitchAndFamily);
  if (font.face != keep.face) line += " face=" + Quote(font.face);
  return line + "\n";
}

}  // namespace

std::optional<QNLanguageData> ParseLanguageSource(std::string_view source, std::string* why) {
  QNSourceParser parser;
  std::optional<QNLanguageData> data = parser.Parse(source);
  if (!data && why) *why = parser.Why();
  return data;
}

std::string FormatLanguageSource(const QNLanguageData& data) {
  std::string source = "language " + Quote(data.name) + "\n";
  source += "encoding " + Quote(data.encoding) + "\n";
  for (std::size_t f = 0; f < data.fonts.size(); ++f)
    if (!data.fonts[f].IsDefault()) source += FontLine(kFontWords[f], data.fonts[f]);
  for (std::size_t t = 0; t < data.tables.size(); ++t) {
    if (!data.tables[t].empty()) source += "\n";
    for (const QNLanguageGroup& group : data.tables[t]) {
      const std::string prefix = std::string(kTableWords[t]) + " " + FormatId(group.id) + " ";
      if (!group.name.empty() || group.items.empty())
        source += prefix + "caption " + Quote(group.name) + "\n";
      for (const QNLanguageItem& item : group.items)
        source += prefix + FormatId(item.id) + " " + Quote(item.text) + "\n";
    }
  }
  return source;
}

}  // namespace qn
