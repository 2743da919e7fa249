#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "text/CodePage.h"
#include "text/LanguageFile.h"
#include "text/LanguageFileLayout.h"

namespace qn {
namespace {

using namespace language_layout;

// Walks the tables of one file. Every header is visited at most once (a second
// visit is a loop), and headers and texts together may not take more room than
// the file has (more means parts overlap), so a walk ends after at most one step
// per 20 bytes of the file and copies at most the file's size in texts.
class QNLanguageParser {
 public:
  explicit QNLanguageParser(std::string_view bytes) : bytes_(bytes), visited_(bytes.size()) {}

  std::optional<QNLanguageData> Parse() {
    if (bytes_.size() > kMaxLanguageFileSize) return Fail("the file is larger than 16 MB");
    if (bytes_.size() < kHeaderSize) return Fail("the file is shorter than its 256-byte header");
    QNLanguageData data;
    data.name = Terminated(kNameOffset, kNameSize);
    for (std::size_t f = 0; f < data.fonts.size(); ++f)
      ReadFont(kFontsOffset + f * kFontRecordSize, data.fonts[f]);
    for (std::uint32_t t = 1; t <= 3; ++t)
      if (!ReadTable(t, data.tables[t - 1])) return std::nullopt;
    Decode(data);
    return data;
  }

  const std::string& Why() const { return why_; }

 private:
  std::nullopt_t Fail(std::string why) {
    why_ = std::move(why);
    return std::nullopt;
  }
  bool Fail(const std::string& what, std::uint64_t at) {
    why_ = what + " at offset " + std::to_string(at);
    return false;
  }

  bool Fits(std::uint64_t at, std::uint64_t length) const {
    return at <= bytes_.size() && length <= bytes_.size() - at;
  }
  // Callers have checked that the four bytes lie inside the file.
  std::uint32_t U32(std::uint64_t at) const {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  }
  std::int32_t I32(std::uint64_t at) const { return static_cast<std::int32_t>(U32(at)); }
  std::string Terminated(std::size_t at, std::size_t size) const {
    const std::string_view field = bytes_.substr(at, size);
    return std::string(field.substr(0, field.find('\0')));
  }

  void ReadFont(std::size_t at, QNFontRecord& font) const {
    font.height = I32(at);
    font.weight = I32(at + 4);
    font.charset = static_cast<std::uint8_t>(bytes_[at + 8]);
    font.pitchAndFamily = static_cast<std::uint8_t>(bytes_[at + 9]);
    font.face = Terminated(at + kFontFaceOffset, kFontFaceSize);
  }

  // Claims `size` bytes of a header at `at`: inside the file, not visited before,
  // and within the room the file has.
  bool Claim(std::uint64_t at, std::uint64_t size, const char* what) {
    if (!Fits(at, size)) return Fail(std::string(what) + " lies outside the file", at);
    if (visited_[at]) return Fail(std::string(what) + " is reached twice", at);
    visited_[at] = true;
    return Use(size, at);
  }
  bool Use(std::uint64_t size, std::uint64_t at) {
    used_ += size;
    if (used_ > bytes_.size()) return Fail("parts of the file overlap", at);
    return true;
  }
  // The `length` bytes that follow a header ending at `at`.
  bool Text(std::uint64_t at, std::uint64_t length, std::string& text) {
    if (!Fits(at, length)) return Fail("a text runs past the end of the file", at);
    if (!Use(length, at)) return false;
    text.assign(bytes_.substr(at, length));
    return true;
  }

  bool ReadTable(std::uint32_t table, std::vector<QNLanguageGroup>& groups) {
    const std::uint32_t offset = U32(kTableOffsets + 4 * (table - 1));
    if (offset == 0) return true;
    if (!Claim(offset, kTableHeaderSize, "a table header")) return false;
    for (std::uint32_t at = U32(offset + kTableFirstGroup); at != 0;) {
      if (!Claim(at, kGroupHeaderSize, "a group header")) return false;
      // A group of another table ends the list, as it ends a lookup.
      if (U32(at + kGroupTable) != table) break;
      QNLanguageGroup& group = groups.emplace_back();
      group.id = I32(at + kGroupId);
      if (!Text(std::uint64_t{at} + kGroupHeaderSize, U32(at + kGroupNameLength), group.name))
        return false;
      const std::uint32_t count = U32(at + kGroupItemCount);
      const std::uint32_t first = U32(at + kGroupFirstItem);
      if (count > 0 && first != 0 && !ReadItems(first, count, group.items)) return false;
      at = U32(at + kGroupNext);
    }
    return true;
  }

  bool ReadItems(std::uint32_t at, std::uint32_t count, std::vector<QNLanguageItem>& items) {
    for (std::uint32_t read = 0; read < count && at != 0; ++read) {
      if (!Claim(at, kItemHeaderSize, "an item header")) return false;
      QNLanguageItem& item = items.emplace_back();
      item.id = I32(at + kItemId);
      if (!Text(std::uint64_t{at} + kItemHeaderSize, U32(at + kItemTextLength), item.text))
        return false;
      at = U32(at + kItemNext);
    }
    return true;
  }

  // Texts that are all UTF-8 stay as they are; otherwise the file was written in
  // the code page of its language, which the dialog font names, else the menu font.
  static void Decode(QNLanguageData& data) {
    bool utf8 = true;
    ForEachLanguageText(data, [&](const std::string& text) { utf8 = utf8 && IsUtf8(text); });
    if (utf8) return;
    const QNFontRecord& dialogs = data.Font(QNLanguageFont::Dialogs);
    const QNFontRecord& chosen = dialogs.charset != 1 ? dialogs : data.Font(QNLanguageFont::Menus);
    data.encoding = CodePageOfCharset(chosen.charset);
    ForEachLanguageText(
        data, [&](std::string& text) { text = ToUtf8(text, data.encoding).value_or(text); });
  }

  std::string_view bytes_;
  std::vector<bool> visited_;
  std::uint64_t used_ = kHeaderSize;
  std::string why_;
};

}  // namespace

std::optional<QNLanguageData> ParseLanguageFile(std::string_view bytes, std::string* why) {
  QNLanguageParser parser(bytes);
  std::optional<QNLanguageData> data = parser.Parse();
  if (!data && why) *why = parser.Why();
  return data;
}

std::optional<QNLanguageData> ReadLanguageFile(const std::string& path, std::string* why) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             &std::fclose);
  if (!file) {
    if (why) *why = "the file cannot be opened";
    return std::nullopt;
  }
  std::error_code ec;
  if (std::filesystem::file_size(path, ec) > kMaxLanguageFileSize && !ec) {
    if (why) *why = "the file is larger than 16 MB";
    return std::nullopt;
  }
  // Read up to one byte beyond the limit, which tells a file that has grown since,
  // or has no size, from one that fits.
  std::string bytes;
  char chunk[65536];
  while (bytes.size() <= kMaxLanguageFileSize) {
    const std::size_t read = std::fread(chunk, 1, sizeof chunk, file.get());
    bytes.append(chunk, read);
    if (read < sizeof chunk) break;
  }
  if (std::ferror(file.get())) {
    if (why) *why = "the file cannot be read";
    return std::nullopt;
  }
  return ParseLanguageFile(bytes, why);
}

}  // namespace qn
