#include "web/FlashScanner.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <tuple>

#include "text/NoCase.h"
#include "web/Address.h"
#include "web/LinkReporter.h"
#include "web/TagTable.h"

namespace qn {
namespace {

// The lists searched: HTML, Image, Audio, Video, Java and Document.
constexpr int kSearchedLists = 6;

bool IsNameByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
         c == '/' || c == '\\' || c == '_';
}

// Characters of an address stored as a string in a movie.
bool IsAddressByte(char c) {
  return c > ' ' && c < 127 && c != '"' && c != '\'' && c != '<' && c != '>';
}

struct Hit {
  std::size_t entry;  // order of the entry over the searched lists
  int upper;          // 0 lower case, 1 upper case
  std::size_t dot;
  std::size_t length;  // of the extension
};

void FindExtensionNames(std::string_view buffer, const ExtLists& lists,
                        std::vector<std::string>& values) {
  // Every searched form by its first byte, so that each "." is tried only against
  // the names that can follow it.
  struct Form {
    std::string text;
    std::size_t entry;
    int upper;
  };
  std::array<std::vector<Form>, 256> byFirst;
  std::size_t entry = 0;
  for (int list = 0; list < kSearchedLists; ++list)
    for (const CQNExtEntry& ext : lists[static_cast<std::size_t>(list)]) {
      const std::string lower = ToLower(ext.extension);
      const std::string upper = ToUpper(ext.extension);
      if (!lower.empty()) {
        byFirst[static_cast<unsigned char>(lower[0])].push_back({lower, entry, 0});
        if (upper != lower)
          byFirst[static_cast<unsigned char>(upper[0])].push_back({upper, entry, 1});
      }
      ++entry;
    }

  std::vector<Hit> hits;
  for (std::size_t dot = buffer.find('.'); dot != std::string_view::npos;
       dot = buffer.find('.', dot + 1)) {
    if (dot + 1 >= buffer.size()) break;
    const std::string_view after = buffer.substr(dot + 1);
    for (const Form& form : byFirst[static_cast<unsigned char>(after[0])])
      if (after.substr(0, form.text.size()) == form.text)
        hits.push_back({form.entry, form.upper, dot, form.text.size()});
  }
  // Reported entry by entry, lower case before upper case, each in buffer order.
  std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
    return std::tie(a.entry, a.upper, a.dot) < std::tie(b.entry, b.upper, b.dot);
  });
  for (const Hit& hit : hits) {
    std::size_t start = hit.dot;
    while (start > 0 && IsNameByte(buffer[start - 1])) --start;
    // A bare extension with no name before its dot is no file name.
    if (start == hit.dot) continue;
    values.emplace_back(buffer.substr(start, hit.dot + 1 + hit.length - start));
  }
}

// GetURL actions store the address, a zero byte and the frame target.
void FindTargetAddresses(std::string_view buffer, std::vector<std::string>& values) {
  for (std::string_view target : kFrameTargets)
    for (const std::string& form : {std::string(target), ToUpper(target)})
      for (std::size_t hit = buffer.find(form); hit != std::string_view::npos;
           hit = buffer.find(form, hit + 1)) {
        if (hit < 2) continue;
        const std::size_t end = hit - 1;
        std::size_t start = end;
        while (start > 0 && IsAddressByte(buffer[start - 1])) --start;
        if (start < end) values.emplace_back(buffer.substr(start, end - start));
      }
}

}  // namespace

void FindBinaryValues(std::string_view buffer, bool flash, const ExtLists& lists,
                      std::vector<std::string>& values) {
  FindExtensionNames(buffer, lists, values);
  if (flash) FindTargetAddresses(buffer, values);
}

bool ScanBinary(std::istream& in, std::uint64_t size, std::string_view address,
                const CQNSettings& settings, const QNScanControl& control, IQNLinkSink& sink) {
  sink.OnAnalyzing();
  const auto bufferSize =
      static_cast<std::size_t>(std::min<std::uint64_t>(size, kBinaryBufferSize));
  std::vector<std::string> values;
  bool complete = true;
  if (bufferSize > 0) {
    std::vector<char> buffer(bufferSize);
    bool flash = false;
    for (std::uint64_t offset = 0, count = 0;; ++count) {
      if (control.StopRequested()) {
        complete = false;
        break;
      }
      in.clear();
      in.seekg(static_cast<std::streamoff>(offset));
      in.read(buffer.data(), static_cast<std::streamsize>(bufferSize));
      const auto read = static_cast<std::size_t>(in.gcount());
      if (read == 0) break;
      const std::string_view chunk(buffer.data(), read);
      if (count == 0) flash = read > 3 && chunk.substr(0, 3) == "FWS";
      FindBinaryValues(chunk, flash, settings.QN_FILE_EXT, values);
      control.Throttle();
      if (read < bufferSize) break;
      offset += read;
      if (bufferSize > kBinaryOverlap && size > kBinaryBufferSize) offset -= kBinaryOverlap;
    }
  }
  if (complete) {
    QNLinkReporter reporter(address, GetBaseDirectory(address), sink);
    for (const std::string& value : values) reporter.Report(value, -1);
  }
  sink.OnAnalysed();
  return complete;
}

bool ScanBinaryFile(std::string_view fileAddress, std::string_view referrerAddress,
                    const std::filesystem::path& localFile, const CQNSettings& settings,
                    const QNScanControl& control, IQNLinkSink& sink) {
  std::ifstream in(localFile, std::ios::binary);
  if (!in) return false;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(localFile, error);
  if (error) return false;
  return ScanBinary(in, size, referrerAddress.empty() ? fileAddress : referrerAddress, settings,
                    control, sink);
}

}  // namespace qn
