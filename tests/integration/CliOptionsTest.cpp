// quillorne-cli reads the desktop program's options where they apply to a run.
#include <gtest/gtest.h>

#include <QSettings>

#include "app/OptionsStore.h"
#include "integration/CliProcess.h"
#include "support/TempDir.h"
#include "support/TestServers.h"

namespace qn::test {
namespace {

// The proxy is the only way to a site whose name resolves nowhere: it answers for the
// site itself.
void AnswerForTheSite(const httplib::Request& req, httplib::Response& res) {
  if (req.path == "http://site.invalid/index.html")
    res.set_content("<a href=\"page.html\">page</a>", "text/html");
  else if (req.path == "http://site.invalid/page.html")
    res.set_content("<p>the page</p>", "text/html");
  else
    res.status = 404;
}

TEST(CliOptions, ProxyAndTemplateOfTheDesktopOptions) {
  TempDir dir;
  ProxyTestServer proxy("Basic cHU6c+ljcmV0", AnswerForTheSite);  // "pu:s\xe9cret"
  WriteFile(dir / "new.qnt", "QN_TITLE \t\t\"From the template\"\r\nQN_REPORT \t\t1\r\n");

  QNOptionSections options;
  options.options.UseProxy = true;
  options.options.ProxyAddress = "127.0.0.1";
  options.options.ProxyPort = proxy.port();
  options.options.ProxyUserID = "pu";
  options.options.ProxyPassword =
      "s\xe9"
      "cret";
  options.options.UseTemplFile = true;
  options.options.TemplFile = (dir / "new.qnt").string();
  options.options.LastFilesDir = (dir / "last chosen").string();
  {
    const auto file = CliProcess::ConfigHome(dir.path()) / "Lumbrook" / "Quillorne.conf";
    QSettings settings(QString::fromStdString(file.string()), QSettings::IniFormat);
    SaveOptions(settings, options);
  }

  std::string err;
  const int status = RunCli({"http://site.invalid/index.html", "-o", (dir / "copy").string()},
                            dir.path(), nullptr, &err);
  EXPECT_EQ(status, 0) << err;
  EXPECT_EQ(ReadFile(dir / "copy" / "page.html"), "<p>the page</p>");
  EXPECT_EQ(proxy.Targets(), (std::vector<std::string>{"http://site.invalid/index.html",
                                                       "http://site.invalid/page.html"}));
  // The template made the new project, whose report carries its title.
  EXPECT_TRUE(std::filesystem::exists(dir / "copy" / "_QNReport" / "From the template_Report.htm"));
  // The folder last chosen in the desktop program is no default here, and the
  // options file is only read.
  EXPECT_FALSE(std::filesystem::exists(dir / "last chosen"));
  QNOptionSections after;
  {
    QSettings settings(
        QString::fromStdString(
            (CliProcess::ConfigHome(dir.path()) / "Lumbrook" / "Quillorne.conf").string()),
        QSettings::IniFormat);
    after = LoadOptions(settings, QNScreenMetrics());
  }
  EXPECT_EQ(after.options, options.options);

  // A template that cannot be read is reported, and the defaults make the project.
  std::filesystem::remove(dir / "new.qnt");
  const int withoutTemplate =
      RunCli({"http://site.invalid/index.html", "-o", (dir / "copy2").string()}, dir.path(),
             nullptr, &err);
  EXPECT_EQ(withoutTemplate, 0) << err;
  EXPECT_NE(err.find("Cannot open the file '" + (dir / "new.qnt").string() + "'."),
            std::string::npos)
      << err;
  EXPECT_TRUE(std::filesystem::exists(dir / "copy2" / "page.html"));
}

}  // namespace
}  // namespace qn::test
