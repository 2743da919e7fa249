#include "text/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace qn {
namespace {

// One iconv conversion, closed with its scope.
class QNIconv {
 public:
  QNIconv(const std::string& to, const std::string& from)
      : handle_(iconv_open(to.c_str(), from.c_str())) {}
  ~QNIconv() {
    if (Valid()) iconv_close(handle_);
  }
  QNIconv(const QNIconv&) = delete;
  QNIconv& operator=(const QNIconv&) = delete;

  bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `text`; an input byte iconv refuses goes to `refused`, which
  // says whether to go on after it.
  template <typename Refused>
  bool Convert(std::string_view text, std::string& out, Refused refused) {
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[1024];
    while (inLeft > 0) {
      char* next = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t done = iconv(handle_, &in, &inLeft, &next, &outLeft);
      out.append(buffer, next);
      if (done != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ, or EINVAL for a sequence cut off at the end.
      if (!refused(out)) return false;
      ++in;
      --inLeft;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    }
    return true;
  }

 private:
  iconv_t handle_;
};

// The length of the UTF-8 sequence that starts at text[i], or 0 when none does.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
  const std::uint8_t lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return length;
}

}  // namespace

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string CodePageOfCharset(int charset) {
  switch (charset) {
    case 77:
      return "MACINTOSH";
    case 128:
      return "CP932";  // Shift JIS
    case 129:
      return "CP949";  // Hangul
    case 130:
      return "CP1361";  // Johab
    case 134:
      return "CP936";  // GB2312
    case 136:
      return "CP950";  // Big5
    case 161:
      return "CP1253";  // Greek
    case 162:
      return "CP1254";  // Turkish
    case 163:
      return "CP1258";  // Vietnamese
    case 177:
      return "CP1255";  // Hebrew
    case 178:
      return "CP1256";  // Arabic
    case 186:
      return "CP1257";  // Baltic
    case 204:
      return "CP1251";  // Cyrillic
    case 222:
      return "CP874";  // Thai
    case 238:
      return "CP1250";  // Central European
    case 255:
      return "CP437";  // OEM
    default:
      return "CP1252";
  }
}

std::optional<std::string> ToUtf8(std::string_view text, const std::string& codePage) {
  QNIconv conversion("UTF-8", codePage);
  if (!conversion.Valid()) return std::nullopt;
  std::string out;
  conversion.Convert(text, out, [](std::string& so_far) {
    so_far += "\xEF\xBF\xBD";
    return true;
  });
  return out;
}

std::optional<std::string> FromUtf8(std::string_view text, const std::string& codePage) {
  QNIconv conversion(codePage, "UTF-8");
  if (!conversion.Valid() || !IsUtf8(text)) return std::nullopt;
  std::string out;
  if (!conversion.Convert(text, out, [](std::string&) { return false; })) return std::nullopt;
  return out;
}

}  // namespace qn
