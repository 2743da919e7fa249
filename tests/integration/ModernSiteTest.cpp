// The modern example site (examples/modern: a static site generator's theme, served
// compressed and with validators) copied by quillorne-cli with its default settings,
// as the demo copies it: every file saved, no broken local link offline, and a
// second run answered "304 Not Modified".
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "integration/CliProcess.h"
#include "integration/CopyChecks.h"
#include "integration/ExampleServers.h"
#include "project/ProjectFile.h"
#include "records/DocTree.h"
#include "records/TreeWalk.h"
#include "settings/ProjectSettings.h"
#include "storage/LinkChecker.h"
#include "support/TempDir.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

// The saved file of each address of the project, by the address's path without its
// query; a folder's address stands for its index.html.
std::map<std::string, fs::path> SavedFiles(const fs::path& project) {
  CQNSettings settings;
  CQNDocTree tree;
  std::ifstream in(project, std::ios::binary);
  std::map<std::string, fs::path> saved;
  if (!in || !ReadProject(in, project.string(), settings, tree, {})) return saved;
  for (const CQNDocNode* node : PreOrder(tree.root)) {
    if (node == tree.root || node->state != kStateDone || node->localFile.empty()) continue;
    const std::size_t host = node->url.find('/', node->url.find("://") + 3);
    std::string path = node->url.substr(host, node->url.find('?') - host);
    if (path.ends_with('/')) path += "index.html";
    saved[path] = node->localFile;
  }
  return saved;
}

// Files the copy holds converted for offline browsing; the others hold the bytes of
// the original, decoded where the server compressed them.
bool IsConverted(const std::string& file) {
  return file.ends_with(".html") || file.ends_with(".css") || file.ends_with(".mjs");
}

int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(ModernSite, CopiesCompletelyWithNoBrokenLocalLinkAndUpdatesByValidators) {
  TempDir dir;
  ExampleServers servers(dir.path());
  ASSERT_TRUE(servers.running()) << ReadFile(dir / "serve.log");
  const std::string site = "http://127.0.0.1:" + std::to_string(servers.modernPort());
  const fs::path copy = fs::absolute(dir / "copy").lexically_normal();
  const fs::path project = dir / "modern.qnp";

  std::string out;
  std::string err;
  ASSERT_EQ(RunCli({site + "/index.html", "-o", copy.string(), "--save", project.string()},
                   dir.path(), &out, &err),
            0)
      << out << err;
  EXPECT_EQ(err, "");
  const std::string log = ReadFile(dir / "modern.log");
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;

  const fs::path original = kExamples / "modern";
  const std::set<std::string> files = FilesBelow(original);
  const std::map<std::string, fs::path> saved = SavedFiles(project);
  for (const std::string& file : files) {
    const auto it = saved.find("/" + file);
    ASSERT_NE(it, saved.end()) << file << " was not saved";
    const std::string bytes = ReadFile(it->second);
    if (IsConverted(file)) {
      EXPECT_FALSE(bytes.starts_with("\x1f\x8b")) << file << " is stored compressed";
      EXPECT_FALSE(bytes.empty()) << file;
    } else {
      EXPECT_EQ(bytes, ReadFile(original / file)) << file;
    }
  }

  const CQNSettings defaults;
  const QNLinkCheck check = CheckLocalLinks(copy, copy / "index.html", defaults);
  EXPECT_TRUE(check.broken.empty()) << Describe(BrokenLinks(check, copy));
  EXPECT_GE(check.pages, 9);  // six pages and the three style sheets of the @import chain

  const std::string index = ReadFile(copy / "index.html");
  for (const std::string converted :
       {"srcset=\"img/hero-480.jpg 480w, img/hero-960.jpg 960w, img/hero-1440.jpg 1440w\"",
        "srcset=\"img/hero-480.webp 480w, img/hero-960.webp 960w\"",
        "<use href=\"img/sprite.svg#icon-code\">", "<use xlink:href=\"img/sprite.svg#icon-leaf\">",
        "data-src=\"img/photo-1.jpg\"", "data-srcset=\"img/photo-1.jpg 1x, img/photo-1@2x.jpg 2x\"",
        "data-original=\"img/photo-2.jpg\"", "href=\"docs/install/default.htm\""})
    EXPECT_NE(index.find(converted), std::string::npos) << converted;
  // The copy's sheets and scripts differ from the originals their checksums name.
  EXPECT_EQ(index.find("integrity="), std::string::npos);
  EXPECT_EQ(index.find(site), std::string::npos);

  // The next run names what it holds: the server answers "304 Not Modified" for every
  // file, nothing is stored anew, and the copy still browses offline.
  const int before = CountOf(ReadFile(dir / "serve.log"), "\" 304 -");
  ASSERT_EQ(RunCli({project.string()}, dir.path(), &out, &err), 0) << out << err;
  EXPECT_GE(CountOf(ReadFile(dir / "serve.log"), "\" 304 -") - before,
            static_cast<int>(files.size()));
  const QNLinkCheck again = CheckLocalLinks(copy, copy / "index.html", defaults);
  EXPECT_TRUE(again.broken.empty()) << Describe(BrokenLinks(again, copy));
}

}  // namespace
}  // namespace qn::test
