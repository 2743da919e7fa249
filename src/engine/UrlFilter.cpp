// The URL filter decision: which filters match an address and which verdict wins.
#include <algorithm>

#include "engine/Filters.h"
#include "text/NoCase.h"
#include "web/Address.h"

namespace qn {
namespace {

constexpr struct {
  const char* scheme;
  int code;
} kProtocols[] = {{"http://", 1}, {"https://", 2}, {"ftp://", 4}, {"file://", 8}};

// 4 with a file pattern, 3 when the directory is the most specific, 2 the server, 1 none.
int Specificity(const CQNUrlFilter& filter) {
  if (!filter.file.empty()) return 4;
  if (!filter.directory.empty()) return 3;
  if (!filter.server.empty()) return 2;
  return 1;
}

bool Matches(const CQNUrlFilter& filter, const QNUrlParts& parts) {
  if (!filter.file.empty() && !PatternMatches(parts.file, filter.file)) return false;
  if (!filter.directory.empty() && !PatternMatches(parts.directory, filter.directory)) return false;
  if (!filter.server.empty() && !PatternMatches(parts.server, filter.server)) return false;
  return filter.protocol == 15 || filter.protocol == parts.protocol;
}

}  // namespace

bool PatternMatches(std::string_view part, std::string_view pattern) {
  if (pattern.find_first_of("*^") == std::string_view::npos) return EqualNoCase(part, pattern);
  // Wildcard match with one remembered star: on a mismatch the last star takes one
  // more character and matching resumes after it.
  std::size_t p = 0, t = 0;
  std::size_t star = std::string_view::npos, resume = 0;
  while (p < part.size()) {
    if (t < pattern.size() &&
        (pattern[t] == '^' || ToLowerChar(pattern[t]) == ToLowerChar(part[p]))) {
      ++p;
      ++t;
    } else if (t < pattern.size() && pattern[t] == '*') {
      star = t++;
      resume = p;
    } else if (star != std::string_view::npos) {
      t = star + 1;
      p = ++resume;
    } else {
      return false;
    }
  }
  while (t < pattern.size() && pattern[t] == '*') ++t;
  return t == pattern.size();
}

QNUrlParts SplitForFilter(std::string_view address) {
  QNUrlParts parts;
  for (const auto& p : kProtocols) {
    if (FindNoCase(address, p.scheme) != std::string_view::npos) {
      parts.protocol = p.code;
      break;
    }
  }
  parts.server = GetServerName(address).value_or("");
  // A query is no part of the path.
  std::string rest = StripScheme(address);
  rest.resize(std::min(rest.find_first_of("?^"), rest.size()));
  const std::size_t first = FindFirstSeparator(rest);
  if (first == std::string::npos) return parts;
  std::string_view path = std::string_view(rest).substr(first + 1);
  const std::size_t last = FindLastSeparator(path);
  const std::string_view segment = last == std::string_view::npos ? path : path.substr(last + 1);
  if (segment.find('.') != std::string_view::npos) {
    parts.file = segment;
    path = last == std::string_view::npos ? std::string_view() : path.substr(0, last);
  }
  if (!path.empty() && IsSeparator(path.back())) path.remove_suffix(1);
  parts.directory = path;
  return parts;
}

UrlVerdict UrlFilterDecision(const std::vector<CQNUrlFilter>& filters, std::string_view address) {
  if (filters.empty()) return UrlVerdict::NoMatch;
  const QNUrlParts parts = SplitForFilter(address);
  int include = 0, exclude = 0;  // specificity of the last match of each kind; 0 none
  for (const CQNUrlFilter& filter : filters) {
    if (!Matches(filter, parts)) continue;
    (filter.include ? include : exclude) = Specificity(filter);
  }
  if (include == 0 && exclude == 0) return UrlVerdict::NoMatch;
  return include > 0 && (exclude == 0 || include >= exclude) ? UrlVerdict::Load : UrlVerdict::Skip;
}

}  // namespace qn
