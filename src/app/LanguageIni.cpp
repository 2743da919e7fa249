#include "app/LanguageIni.h"

#include <fstream>

#include "text/NoCase.h"

namespace qn {
namespace {

constexpr std::size_t kLineMax = 255;
constexpr std::size_t kNameMax = 256;

}  // namespace

std::optional<std::string> ReadLanguageIni(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    line.resize(std::min(line.size(), kLineMax));
    const std::size_t start = line.find_first_not_of(" \t\r");
    if (start == std::string::npos) continue;
    const std::size_t end = line.find_first_of(" \t\r", start);
    const std::string_view word = std::string_view(line).substr(start, end - start);
    if (!EqualNoCase(word, "LngFile")) continue;
    // The first such line decides, even when it holds no quoted name.
    const std::size_t open = line.find('"', start + word.size());
    const std::size_t close = open == std::string::npos ? open : line.find('"', open + 1);
    if (close == std::string::npos) return std::nullopt;
    return line.substr(open + 1, std::min(close - open - 1, kNameMax));
  }
  return std::nullopt;
}

}  // namespace qn
