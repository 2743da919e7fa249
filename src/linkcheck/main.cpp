// quillorne-linkcheck: follows the local links of an offline copy from its start page
// and lists those that point to no file. Used by the demo and the benchmarks on
// copies made by any tool.
#include <cstdio>
#include <filesystem>
#include <string>

#include "settings/ProjectSettings.h"
#include "storage/LinkChecker.h"

int main(int argc, char** argv) {
  bool quiet = false;
  int first = 1;
  if (argc > 1 && std::string(argv[1]) == "-q") {
    quiet = true;
    first = 2;
  }
  if (argc - first != 2) {
    std::fputs(
        "usage: quillorne-linkcheck [-q] FOLDER START_PAGE\n"
        "  Prints 'pages N, local links N, broken N' and, without -q, each broken\n"
        "  link as 'PAGE: LINK -> MISSING FILE'. Exit status 1 when a link is broken.\n",
        stderr);
    return 2;
  }
  // The checker compares absolute paths: relative ones are taken from here.
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::absolute(argv[first], ec);
  const std::filesystem::path start = std::filesystem::absolute(argv[first + 1], ec);
  if (!std::filesystem::is_regular_file(start, ec)) {
    std::fprintf(stderr, "quillorne-linkcheck: no start page '%s'\n", start.c_str());
    return 2;
  }
  qn::CQNSettings settings;
  const qn::QNLinkCheck check = qn::CheckLocalLinks(folder, start, settings);
  if (!quiet)
    for (const qn::QNBrokenLink& link : check.broken)
      std::printf("%s: %s -> %s\n", link.page.c_str(), link.link.c_str(), link.target.c_str());
  std::printf("pages %d, local links %d, broken %zu\n", check.pages, check.localLinks,
              check.broken.size());
  if (check.pages == 0) {
    std::fputs("quillorne-linkcheck: no page was read; is the start page an HTML page?\n", stderr);
    return 2;
  }
  return check.broken.empty() ? 0 : 1;
}
