// quillorne-cli in the language the options choose: the German file the build makes
// beside the program turns its output and the log into German; a file that cannot be
// read is reported and leaves the built-in texts.
#include <gtest/gtest.h>

#include <QSettings>

#include "TestPaths.h"
#include "integration/CliProcess.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"
#include "support/TestServers.h"

namespace qn::test {
namespace {

// A page linking one page that exists and one that does not.
class SiteWithAMissingPage {
 public:
  SiteWithAMissingPage() {
    server_.server().Get(
        R"(/(\w+)\.html)", [](const httplib::Request& req, httplib::Response& res) {
          if (req.path == "/missing.html") {
            res.status = 404;
            return;
          }
          res.set_content(R"(<a href="a.html">a</a> <a href="missing.html">m</a>)", "text/html");
        });
    server_.Start();
  }
  std::string Url(const std::string& path) const { return server_.Url(path); }

 private:
  HttpTestServer server_;
};

// The options file of quillorne-cli in a folder of the test.
class LanguageHome {
 public:
  void Choose(const std::string& lngFile) {
    QSettings options(QString::fromStdString((dir_ / "config/Lumbrook/Quillorne.conf").string()),
                      QSettings::IniFormat);
    options.setValue("Options/UseLngFile", 1);
    options.setValue("Options/LngFile", QString::fromStdString(lngFile));
  }
  const TempDir& Dir() const { return dir_; }

 private:
  TempDir dir_;
  ScopedEnv config_{"XDG_CONFIG_HOME", (dir_ / "config").string()};
};

TEST(CliLanguage, TheChosenLanguageWritesTheLogAndAMissingFileLeavesEnglish) {
  SiteWithAMissingPage site;
  LanguageHome home;
  const TempDir& dir = home.Dir();
  home.Choose("German.qlg");
  std::string out, err;
  ASSERT_EQ(RunCli({site.Url("/index.html"), "-o", (dir / "de").string(), "--save",
                    (dir / "de.qnp").string()},
                   dir.path(), &out, &err),
            0)
      << err;
  EXPECT_EQ(err, "");
  EXPECT_EQ(out.rfind("Download gestartet (", 0), 0u) << out;
  const std::string log = ReadFile(dir / "de.log");
  EXPECT_NE(log.find(" Fehler (HTTP-Code 404) – „" + site.Url("/missing.html") + "“"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("Download abgeschlossen ("), std::string::npos) << log;
  EXPECT_NE(log.find("Zusammenfassung:\r\n Anzahl der Dateien: 2 "), std::string::npos) << log;
  EXPECT_EQ(log.find("Download is"), std::string::npos) << log;

  home.Choose("Missing.qlg");
  ASSERT_EQ(RunCli({site.Url("/index.html"), "-o", (dir / "en").string(), "--save",
                    (dir / "en.qnp").string()},
                   dir.path(), &out, &err),
            0)
      << err;
  const std::string program = std::filesystem::path(QN_CLI_PATH).parent_path().string();
  EXPECT_EQ(err, "quillorne-cli: Cannot open the file '" + program + "/Missing.qlg'.\n");
  EXPECT_NE(ReadFile(dir / "en.log").find("Download is Completed ("), std::string::npos);
}

}  // namespace
}  // namespace qn::test
