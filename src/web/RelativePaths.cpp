#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "web/Address.h"
#include "web/AddressText.h"

namespace qn {

using address_text::AppendBounded;
using address_text::Bounded;
using address_text::CountOccurrences;
using address_text::FindScheme;
using address_text::IsAsciiLetter;

namespace {

constexpr std::size_t npos = std::string_view::npos;

std::string_view SchemeOf(std::string_view address) {
  const auto scheme = FindScheme(address);
  return scheme.found() ? address.substr(scheme.pos, scheme.length) : std::string_view();
}

bool HasDriveLetter(std::string_view path) {
  return path.size() > 1 && IsAsciiLetter(path[0]) && path[1] == ':';
}

// The drive a local path lies on: "X:" for a drive letter, empty for the one drive
// of this platform (a path starting with "/"); nothing for a relative path.
std::optional<std::string> DriveOf(std::string_view path) {
  if (HasDriveLetter(path)) return ToUpper(path.substr(0, 2));
  if (path.starts_with(kNativeSeparator)) return std::string();
  return std::nullopt;
}

// The form in which two local paths are compared: native separators, and a blank
// before a separator counted as "_". Case counts, as it does for the file system,
// except in a drive letter.
std::string CompareForm(std::string_view path) {
  std::string s(path);
  ToNativeSeparators(s);
  if (HasDriveLetter(s)) s[0] = ToUpperChar(s[0]);
  return s;
}

// Length of the common beginning of `a` and `b`, moved back to just after the last
// separator inside it.
std::size_t CommonDirectoryLength(std::string_view a, std::string_view b) {
  const std::size_t common = static_cast<std::size_t>(
      std::mismatch(a.begin(), a.begin() + std::min(a.size(), b.size()), b.begin()).first -
      a.begin());
  const std::size_t sep = FindLastSeparator(a.substr(0, common));
  return sep == npos ? 0 : sep + 1;
}

std::size_t CountSeparators(std::string_view s) {
  return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), IsSeparator));
}

std::string Native(std::string s) {
  BackslashesToSlashes(s);
  return s;
}

}  // namespace

std::string MakeRelativeAddress(std::string_view target, std::string_view base) {
  const std::string_view t = Bounded(target);
  const std::string_view b = Bounded(base);
  if (t.find("..") != npos || b.empty()) return std::string(t);
  const auto targetServer = GetServerName(t);
  const auto baseServer = GetServerName(b);
  if (!targetServer || !baseServer || !EqualNoCase(*targetServer, *baseServer))
    return std::string(t);
  // "https://host/x" against "http://host/" has no relative form.
  if (!EqualNoCase(SchemeOf(t), SchemeOf(b))) return std::string(t);

  const std::string upperTarget = ToUpper(t);
  std::string upperBase = ToUpper(b);
  if (!IsSeparator(upperBase.back())) upperBase += '/';
  const std::size_t point = CommonDirectoryLength(upperTarget, upperBase);
  std::string result;
  for (std::size_t n = CountSeparators(std::string_view(upperBase).substr(point)); n > 0; --n)
    AppendBounded(result, "../");
  AppendBounded(result, t.substr(point));
  return result;
}

std::string MakeRelativePath(std::string_view target, std::string_view baseDirectory) {
  const std::string_view t = Bounded(target);
  const std::string_view b = Bounded(baseDirectory);
  if (t.find("..") != npos || b.empty()) return std::string(t);
  const auto targetDrive = DriveOf(t);
  const auto baseDrive = DriveOf(b);
  if (!targetDrive || !baseDrive || *targetDrive != *baseDrive) return std::string(t);

  const std::string compareTarget = CompareForm(t);
  std::string compareBase = CompareForm(b);
  if (compareBase.back() != kNativeSeparator) compareBase += kNativeSeparator;
  const std::size_t point = CommonDirectoryLength(compareTarget, compareBase);
  std::string result;
  for (std::size_t n = CountSeparators(std::string_view(compareBase).substr(point)); n > 0; --n)
    AppendBounded(result, "../");
  AppendBounded(result, t.substr(point));
  return Native(std::move(result));
}

std::string JoinLocalPath(std::string_view relative, std::string_view baseDirectory) {
  const std::string_view r = Bounded(relative);
  const std::string_view b = Bounded(baseDirectory);
  if (b.empty() || DriveOf(r)) return Native(std::string(r));
  if (!r.empty() && IsSeparator(r[0])) {
    std::string result(HasDriveLetter(b) ? b.substr(0, 2) : std::string_view());
    AppendBounded(result, r);
    return Native(std::move(result));
  }
  std::size_t restStart = 0;
  if (const std::size_t levels = CountOccurrences(r, "..", restStart); levels > 0) {
    std::string result(b);
    if (!result.empty() && IsSeparator(result.back())) result.pop_back();
    for (std::size_t i = 0; i < levels; ++i) {
      const std::size_t sep = FindLastSeparator(result);
      if (sep == npos) break;
      result.resize(sep);
    }
    AppendBounded(result, r.substr(restStart));
    return Native(std::move(result));
  }
  std::string result(b);
  if (!IsSeparator(result.back())) AppendBounded(result, std::string_view(&kNativeSeparator, 1));
  AppendBounded(result, r);
  return Native(std::move(result));
}

bool IsPathInside(std::string_view path, std::string_view folder) {
  namespace fs = std::filesystem;
  const auto normal = [](std::string_view p) {
    std::string text = Native(std::string(p));
    while (text.size() > 1 && IsSeparator(text.back())) text.pop_back();
    std::error_code ec;
    const fs::path absolute = fs::absolute(text, ec);
    return (ec ? fs::path(text) : absolute).lexically_normal();
  };
  if (path.empty() || folder.empty()) return false;
  const fs::path relative = normal(path).lexically_relative(normal(folder));
  return !relative.empty() && *relative.begin() != ".." && relative != ".";
}

}  // namespace qn
