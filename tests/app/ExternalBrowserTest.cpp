// Pages for the user's browser and the mail to the maker: the order of attempts,
// argument lists without a shell, and addresses no program can take for options.
#include <gtest/gtest.h>

#include <map>

#include "app/ExternalBrowser.h"
#include "app/WelcomePage.h"
#include "support/TempDir.h"

namespace qn::test {
namespace {

class RecordingDesktop : public IQNDesktopServices {
 public:
  bool works = false;
  std::vector<std::string> opened;
  bool OpenUrl(const std::string& url) override {
    opened.push_back(url);
    return works;
  }
};

struct Started {
  std::string program;
  std::vector<std::string> args;
  bool operator==(const Started&) const = default;
};

class ExternalBrowserTest : public ::testing::Test {
 protected:
  RecordingDesktop desktop_;
  std::map<std::string, std::string> env_;
  std::vector<Started> started_;
  std::set<std::string> installed_;

  QNBrowserLaunch Launch() {
    QNBrowserLaunch launch;
    launch.desktop = &desktop_;
    launch.start = [this](const std::string& program, const std::vector<std::string>& args) {
      started_.push_back({program, args});
      return installed_.count(program) > 0;
    };
    launch.getenv = [this](const char* name) -> const char* {
      const auto it = env_.find(name);
      return it == env_.end() ? nullptr : it->second.c_str();
    };
    launch.currentFolder = "/home/u/work";
    return launch;
  }
};

TEST_F(ExternalBrowserTest, AddressesGivenToABrowser) {
  EXPECT_EQ(BrowserAddress("http://example.org/a b?x=1", "/cwd"), "http://example.org/a b?x=1");
  EXPECT_EQ(BrowserAddress("/home/u/site/index.htm", "/cwd"), "file:///home/u/site/index.htm");
  // A relative path becomes absolute: "-rf" can no longer pass for an option.
  EXPECT_EQ(BrowserAddress("-rf", "/cwd"), "file:///cwd/-rf");
  EXPECT_EQ(BrowserAddress("site/../my page.htm", "/cwd"), "file:///cwd/my%20page.htm");
  EXPECT_EQ(BrowserAddress("file:///home/u/a b.htm", "/cwd"), "file:///home/u/a%20b.htm");
  // A drive letter is no scheme.
  EXPECT_EQ(BrowserAddress("C:x.htm", "/cwd"), "file:///cwd/C:x.htm");
}

TEST_F(ExternalBrowserTest, DesktopFirstThenBrowserVariableThenXWwwBrowser) {
  desktop_.works = true;
  EXPECT_TRUE(OpenInExternalBrowser("index.htm", Launch()));
  EXPECT_EQ(desktop_.opened, std::vector<std::string>{"file:///home/u/work/index.htm"});
  EXPECT_TRUE(started_.empty());

  // $BROWSER: each command in turn, "%s" standing for the address.
  desktop_.works = false;
  env_["BROWSER"] = "nobrowser:firefox --new-window %s:";
  installed_ = {"firefox"};
  EXPECT_TRUE(OpenInExternalBrowser("http://a.example/", Launch()));
  EXPECT_EQ(started_, (std::vector<Started>{{"nobrowser", {"http://a.example/"}},
                                            {"firefox", {"--new-window", "http://a.example/"}}}));

  // Nothing there: x-www-browser is the last try.
  started_.clear();
  env_["BROWSER"] = "nobrowser";
  installed_ = {"x-www-browser"};
  EXPECT_TRUE(OpenInExternalBrowser("http://a.example/", Launch()));
  EXPECT_EQ(started_.back(), (Started{"x-www-browser", {"http://a.example/"}}));
  installed_.clear();
  EXPECT_FALSE(OpenInExternalBrowser("http://a.example/", Launch()));
}

TEST_F(ExternalBrowserTest, MailToTheMaker) {
  desktop_.works = true;
  EXPECT_EQ(ComposeContactMail(desktop_, "Comments & more"), 0);
  EXPECT_EQ(desktop_.opened.back(),
            "mailto:quillorne@lumbrook.example?subject=Comments%20%26%20more");
  desktop_.works = false;
  EXPECT_EQ(ComposeContactMail(desktop_, "Comments"), 61840);
}

TEST(WelcomePage, CopiedIntoTheWritableFolderAtEveryStart) {
  TempDir data;
  TempDir home;
  WriteFile(data / "Welcome.htm", "<html>hello</html>");
  WriteFile(data / "qnlogo.svg", "<svg/>");
  const std::string page = WriteWelcomePage(data.str(), home.str());
  EXPECT_EQ(page, (home / "_QNwelcome" / "Welcome.htm").string());
  EXPECT_EQ(ReadFile(home / "_QNwelcome" / "qnlogo.svg"), "<svg/>");
  // An old copy, even a read-only one, is replaced.
  std::filesystem::permissions(home / "_QNwelcome" / "Welcome.htm",
                               std::filesystem::perms::owner_read);
  WriteFile(data / "Welcome.htm", "<html>new</html>");
  EXPECT_EQ(WriteWelcomePage(data.str(), home.str()), page);
  EXPECT_EQ(ReadFile(page), "<html>new</html>");
  // The chosen language's page where there is one.
  WriteFile(data / "Welcome.German.htm", "<html>hallo</html>");
  EXPECT_EQ(WriteWelcomePage(data.str(), home.str(), "German.qlg"),
            (home / "_QNwelcome" / "Welcome.German.htm").string());
  EXPECT_EQ(WriteWelcomePage(data.str(), home.str(), "Dutch.qlg"), page);
  // Without the data there is no page, and the program starts without one.
  EXPECT_EQ(WriteWelcomePage("", home.str()), "");
  EXPECT_EQ(WriteWelcomePage((data / "none").string(), home.str()), "");
}

}  // namespace
}  // namespace qn::test
