#pragma once

// What the tests of offline copies check: the broken local links and the files of a
// folder.

#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "storage/LinkChecker.h"

namespace qn::test {

// The broken links of an offline copy as (page below `root`, link as written).
inline std::set<std::pair<std::string, std::string>> BrokenLinks(
    const QNLinkCheck& check, const std::filesystem::path& root) {
  std::set<std::pair<std::string, std::string>> links;
  for (const QNBrokenLink& link : check.broken)
    links.insert({link.page.lexically_relative(root).string(), link.link});
  return links;
}

inline std::string Describe(const std::set<std::pair<std::string, std::string>>& links) {
  std::string text;
  for (const auto& [page, link] : links) text += "\n  " + page + ": " + link;
  return text.empty() ? " none" : text;
}

// The files below `folder`, relative to it.
inline std::set<std::string> FilesBelow(const std::filesystem::path& folder) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files.insert(entry.path().lexically_relative(folder).string());
  return files;
}

}  // namespace qn::test
