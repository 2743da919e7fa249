#include "bookmarks/TextInput.h"

#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

namespace qn {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}

void SkipByteOrderMark(std::istream& in) {
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr) return;
  for (const char expected : kByteOrderMark) {
    if (buffer->sgetc() != static_cast<unsigned char>(expected)) return;
    buffer->sbumpc();
  }
}

bool ReadTextLine(std::istream& in, std::string& line, std::size_t maxLength) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr || !in) return false;
  bool any = false;
  for (int c = buffer->sbumpc(); c != std::char_traits<char>::eof(); c = buffer->sbumpc()) {
    any = true;
    if (c == '\n') break;
    if (line.size() < maxLength) line.push_back(static_cast<char>(c));
  }
  if (!any) {
    in.setstate(std::ios::eofbit);
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::size_t maxSize) {
  std::error_code ec;
  // A FIFO or a device would block or never end.
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec || size > maxSize) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  SkipByteOrderMark(in);
  std::string text;
  text.reserve(static_cast<std::size_t>(size));
  // The file may have grown since its size was read.
  char chunk[16384];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    text.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (text.size() > maxSize) return std::nullopt;
  }
  return text;
}

}  // namespace qn
