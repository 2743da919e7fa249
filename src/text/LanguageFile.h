#pragma once

// The binary language file (".qlg"): a 256-byte header with the language's name,
// three font records and the offsets of the menu, dialog and string tables; each
// table a list of groups and each group a list of items, linked by file offsets.
// Little-endian 32-bit integers; texts not terminated.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/LanguageData.h"

namespace qn {

inline constexpr char kLanguageFileMagic[] = "Quillorne Language File v1.0";
// Far above any real translation; a larger file is refused unread.
inline constexpr std::size_t kMaxLanguageFileSize = 16u << 20;

// The file's contents with every text in UTF-8 (a file whose texts are not all
// UTF-8 is read in the code page of its font records). Every offset and length is
// checked against the file and every list is walked once: a header outside the
// file, a list that loops back, parts that overlap, or a file above
// kMaxLanguageFileSize give nothing, and `why` says what is wrong. As lookups do,
// a group list ends at a group of another table and an item list after the group's
// number of items. The magic text is not required.
std::optional<QNLanguageData> ParseLanguageFile(std::string_view bytes, std::string* why = nullptr);

// Reads the whole file at `path` once and parses it.
std::optional<QNLanguageData> ReadLanguageFile(const std::string& path, std::string* why = nullptr);

// The file for `data`, its texts written in `data.encoding`; nothing (and `why`)
// when a text cannot be written in it, a name or face is longer than its field or
// holds a zero byte, or the file would exceed kMaxLanguageFileSize.
std::optional<std::string> FormatLanguageFile(const QNLanguageData& data,
                                              std::string* why = nullptr);

}  // namespace qn
