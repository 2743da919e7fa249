#pragma once

// Offsets and sizes of the parts of a language file, shared by its reader and its
// writer.

#include <cstddef>

namespace qn::language_layout {

inline constexpr std::size_t kHeaderSize = 256;
inline constexpr std::size_t kMagicSize = 30;
inline constexpr std::size_t kNameOffset = 30;
inline constexpr std::size_t kNameSize = 34;
inline constexpr std::size_t kFontsOffset = 68;
inline constexpr std::size_t kFontRecordSize = 44;
inline constexpr std::size_t kFontFaceOffset = 10;
inline constexpr std::size_t kFontFaceSize = 34;  // zero-terminated
inline constexpr std::size_t kTableOffsets = 200;
inline constexpr std::size_t kTableHeaderSize = 16;
inline constexpr std::size_t kTableFirstGroup = 12;
inline constexpr std::size_t kGroupHeaderSize = 28;
inline constexpr std::size_t kItemHeaderSize = 20;

// Fields of a group header.
inline constexpr std::size_t kGroupTable = 0;
inline constexpr std::size_t kGroupId = 4;
inline constexpr std::size_t kGroupItemCount = 8;
inline constexpr std::size_t kGroupNameLength = 12;
inline constexpr std::size_t kGroupFirstItem = 16;
inline constexpr std::size_t kGroupNext = 24;

// Fields of an item header.
inline constexpr std::size_t kItemId = 4;
inline constexpr std::size_t kItemTextLength = 8;
inline constexpr std::size_t kItemNext = 16;

}  // namespace qn::language_layout
