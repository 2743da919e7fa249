#include "StorageRig.h"

#include <sys/wait.h>

#include <cstdlib>

#include "TestPaths.h"
#include "records/TreeWalk.h"

namespace qn::test {

namespace fs = std::filesystem;

SampleProject::SampleProject(const fs::path& dir) : root(dir) {
  const fs::path folder = dir / "project";
  files.project = (folder / "site.qnp").string();
  files.log = (folder / "site.log").string();
  files.report = (folder / "_QNReport" / "Site_Report.htm").string();
  WriteFile(files.project, "Quillorne Project File v1.0 and the rest");
  WriteFile(files.log, "Download started\r\n");
  WriteFile(files.report, "<HTML>report</HTML>\r\n");
  WriteFile(ReportCompanionPath(files.report), "GIF89a");
  settings.QN_PROJECT_DIR = folder.string() + "/";
  tree.CreateRoot("Site");
  CQNDocNode* page = tree.AddLink(tree.root, true, (folder / "www" / "index.htm").string());
  tree.AddLink(page, false, (folder / "www" / "img" / "a.gif").string());
  tree.AddLink(page, false, (folder / "www" / "about.htm").string());
  tree.AddLink(page, false, "");
  WriteFile(folder / "www" / "index.htm", "<a href=about.htm>about</a>");
  WriteFile(folder / "www" / "img" / "a.gif", std::string(5000, 'g'));
  WriteFile(folder / "www" / "about.htm", "about us");
}

std::vector<std::string> SampleProject::SavedFiles() const {
  std::vector<std::string> out;
  for (const CQNDocNode* node : PreOrder(static_cast<const CQNDocNode*>(tree.root)))
    if (!node->localFile.empty()) out.push_back(node->localFile);
  return out;
}

int RunShell(const std::string& command) {
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveUnzip() {
  return fs::exists("/usr/bin/unzip");
}

bool HavePython() {
  return fs::exists(QN_PYTHON3);
}

std::string Quote(const std::string& s) {
  std::string out = "'";
  for (const char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace qn::test
