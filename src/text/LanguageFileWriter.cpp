#include <cstdint>

#include "text/CodePage.h"
#include "text/LanguageFile.h"
#include "text/LanguageFileLayout.h"

namespace qn {
namespace {

using namespace language_layout;

void PutU32(std::string& file, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
void PutI32(std::string& file, std::size_t at, std::int32_t value) {
  PutU32(file, at, static_cast<std::uint32_t>(value));
}
void AppendU32(std::string& file, std::uint32_t value) {
  file.append(4, '\0');
  PutU32(file, file.size() - 4, value);
}

// Lays the tables out one after the other: a table header, then each group's header
// and name followed by its items, each item's header followed by its text.
class QNLanguageWriter {
 public:
  explicit QNLanguageWriter(const QNLanguageData& data) : data_(data) {}

  std::optional<std::string> Write() {
    QNLanguageData encoded = data_;
    if (!Encode(encoded)) return std::nullopt;
    file_.assign(kHeaderSize, '\0');
    file_.replace(0, sizeof kLanguageFileMagic - 1, kLanguageFileMagic);
    if (!Field(kNameOffset, kNameSize, encoded.name, "the language's name")) return std::nullopt;
    for (std::size_t f = 0; f < encoded.fonts.size(); ++f)
      if (!WriteFont(kFontsOffset + f * kFontRecordSize, encoded.fonts[f])) return std::nullopt;
    for (std::uint32_t t = 1; t <= 3; ++t) WriteTable(t, encoded.tables[t - 1]);
    if (file_.size() > kMaxLanguageFileSize) {
      why_ = "the file would be larger than 16 MB";
      return std::nullopt;
    }
    return std::move(file_);
  }

  const std::string& Why() const { return why_; }

 private:
  bool Encode(QNLanguageData& data) {
    if (data.encoding == kUtf8Encoding) return true;
    bool ok = true;
    ForEachLanguageText(data, [&](std::string& text) {
      if (!ok) return;
      if (const auto encoded = FromUtf8(text, data.encoding)) {
        text = *encoded;
      } else {
        why_ = "'" + text + "' cannot be written in " + data.encoding;
        ok = false;
      }
    });
    return ok;
  }

  // A zero-padded field; `size` bytes at most when `terminated` is false.
  bool Field(std::size_t at, std::size_t size, const std::string& text, const char* what,
             bool terminated = false) {
    if (text.find('\0') != std::string::npos) {
      why_ = std::string(what) + " holds a zero byte";
      return false;
    }
    if (text.size() + (terminated ? 1 : 0) > size) {
      why_ = std::string(what) + " '" + text + "' is longer than " +
             std::to_string(size - (terminated ? 1 : 0)) + " bytes";
      return false;
    }
    file_.replace(at, text.size(), text);
    return true;
  }

  bool WriteFont(std::size_t at, const QNFontRecord& font) {
    PutI32(file_, at, font.height);
    PutI32(file_, at + 4, font.weight);
    file_[at + 8] = static_cast<char>(font.charset);
    file_[at + 9] = static_cast<char>(font.pitchAndFamily);
    return Field(at + kFontFaceOffset, kFontFaceSize, font.face, "the font face", true);
  }

  std::uint32_t Here() const { return static_cast<std::uint32_t>(file_.size()); }

  void WriteTable(std::uint32_t table, const std::vector<QNLanguageGroup>& groups) {
    if (groups.empty()) return;
    PutU32(file_, kTableOffsets + 4 * (table - 1), Here());
    const std::size_t tableHeader = file_.size();
    file_.append(kTableHeaderSize, '\0');
    std::size_t link = tableHeader + kTableFirstGroup;  // where the next group's offset goes
    for (const QNLanguageGroup& group : groups) {
      PutU32(file_, link, Here());
      const std::size_t header = file_.size();
      AppendU32(file_, table);
      AppendU32(file_, static_cast<std::uint32_t>(group.id));
      AppendU32(file_, static_cast<std::uint32_t>(group.items.size()));
      AppendU32(file_, static_cast<std::uint32_t>(group.name.size()));
      file_.append(kGroupHeaderSize - 16, '\0');
      file_ += group.name;
      std::size_t itemLink = header + kGroupFirstItem;
      for (const QNLanguageItem& item : group.items) {
        PutU32(file_, itemLink, Here());
        itemLink = file_.size() + kItemNext;
        AppendU32(file_, 0);
        AppendU32(file_, static_cast<std::uint32_t>(item.id));
        AppendU32(file_, static_cast<std::uint32_t>(item.text.size()));
        file_.append(kItemHeaderSize - 12, '\0');
        file_ += item.text;
      }
      link = header + kGroupNext;
    }
  }

  const QNLanguageData& data_;
  std::string file_;
  std::string why_;
};

}  // namespace

std::optional<std::string> FormatLanguageFile(const QNLanguageData& data, std::string* why) {
  QNLanguageWriter writer(data);
  std::optional<std::string> file = writer.Write();
  if (!file && why) *why = writer.Why();
  return file;
}

}  // namespace qn
