#pragma once

// Checks an offline copy: from its start page, every local link of every reachable
// page is followed, and the links that point to no file are listed.

#include <filesystem>
#include <string>
#include <vector>

namespace qn {

struct CQNSettings;

struct QNBrokenLink {
  std::filesystem::path page;    // the page holding the link
  std::string link;              // the link as the page writes it
  std::filesystem::path target;  // the file it points to
};

struct QNLinkCheck {
  int pages = 0;       // local pages read
  int localLinks = 0;  // links to local files met
  std::vector<QNBrokenLink> broken;
};

// Pages are the local files whose extension is one of the settings' HTML
// extensions; links of other files (images, scripts) are only checked to exist. A
// link outside `folder` is checked like any other. Links to the network are not
// local and are not counted.
QNLinkCheck CheckLocalLinks(const std::filesystem::path& folder,
                            const std::filesystem::path& startPage, const CQNSettings& settings);

}  // namespace qn
