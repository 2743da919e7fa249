// The new-project wizard driven through its controls: the page order both ways, the
// folder it proposes, the file-type mask, the address methods, and Finish starting a
// real download from a local server.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <chrono>

#include "support/TestServers.h"
#include "ui/DialogRig.h"
#include "ui/NewProjectWizard.h"
#include "ui/WizardIds.h"

namespace qn::test {
namespace {

struct WizardRig {
  explicit WizardRig(const std::string& pageView = {}) {
    QNPrjWizContext context;
    context.lastFilesDir = "/data/sites";
    context.programDir = "/opt/q/";
    context.pageViewAddress = pageView;
    wizard = std::make_unique<CQNPrjWiz>(CQNSettings{}, QNPrjWizState{}, context,
                                         QNPrjWizServices{importer, {}}, texts);
    wizard->restart();
  }
  void Type(int id, const QString& text) { Find<QLineEdit>(wizard.get(), id)->setText(text); }
  void Click(int id) { Find<QAbstractButton>(wizard.get(), id)->click(); }
  bool NextOffered() const { return wizard->button(QWizard::NextButton)->isEnabled(); }
  // Next, checking that Back from the page reached leads where the table says.
  void Next(int expected) {
    wizard->next();
    ASSERT_EQ(wizard->currentId(), expected);
    EXPECT_EQ(PreviousPage(expected, wizard->State()), wizard->visitedIds().end()[-2]);
  }

  QNTexts texts;
  std::string imported = "file:///home/a/start.htm";
  QNAddressImporter importer = [this](int method, QWidget*) -> std::optional<std::string> {
    if (method != kImportLocalFile) return std::nullopt;
    return imported;
  };
  std::unique_ptr<CQNPrjWiz> wizard;
};

TEST(PrjWizardFlow, NextAndBackFollowTheTableBothWays) {
  QNPrjWizState entered;
  QNPrjWizState imported;
  imported.addressMethod = kAddressImported;
  imported.useDefaults = false;
  // {page, next entered/defaults, next imported/custom, back entered/defaults, back
  // imported/custom}
  const int table[][5] = {{0, 1, 1, -1, -1}, {1, 2, 2, 0, 0},  {2, 3, 4, 1, 1}, {3, 5, 5, 2, 2},
                          {4, 5, 5, 2, 2},   {5, 6, 6, 3, 4},  {6, 7, 7, 5, 5}, {7, 9, 8, 6, 6},
                          {8, 9, 9, 7, 7},   {9, -1, -1, 7, 8}};
  for (const auto& row : table) {
    EXPECT_EQ(NextPage(row[0], entered), row[1]) << row[0];
    EXPECT_EQ(NextPage(row[0], imported), row[2]) << row[0];
    EXPECT_EQ(PreviousPage(row[0], entered), row[3]) << row[0];
    EXPECT_EQ(PreviousPage(row[0], imported), row[4]) << row[0];
  }
  QNPrjWizState fromPageView;
  fromPageView.addressMethod = kAddressFromPageView;
  EXPECT_EQ(NextPage(kPrjWizAddressMethod, fromPageView), kPrjWizUrl);
  EXPECT_EQ(PreviousPage(kPrjWizLogin, fromPageView), kPrjWizUrl);

  // The wizard itself: typed address, custom options, and back to the start.
  WizardRig rig;
  EXPECT_FALSE(rig.wizard->button(QWizard::BackButton)->isVisible() &&
               rig.wizard->button(QWizard::BackButton)->isEnabled());
  rig.Next(kPrjWizTitle);
  EXPECT_EQ(rig.wizard->windowTitle(), "Create a New Project - Title");
  rig.Next(kPrjWizAddressMethod);
  rig.Next(kPrjWizUrl);
  EXPECT_FALSE(rig.NextOffered());
  Find<QComboBox>(rig.wizard.get(), kIdcWizUrl)->setEditText("http://example.org/");
  EXPECT_TRUE(rig.NextOffered());
  Find<QComboBox>(rig.wizard.get(), kIdcWizUrl)->setEditText("  ");
  EXPECT_FALSE(rig.NextOffered());
  Find<QComboBox>(rig.wizard.get(), kIdcWizUrl)->setEditText("http://example.org/");
  rig.Next(kPrjWizLogin);
  rig.Next(kPrjWizFolder);
  rig.Next(kPrjWizOptions);
  rig.Next(kPrjWizFinish);
  EXPECT_TRUE(rig.wizard->button(QWizard::FinishButton)->isEnabled());
  rig.wizard->back();
  EXPECT_EQ(rig.wizard->currentId(), kPrjWizOptions);
  rig.Click(kIdcWizCustom);
  rig.Next(kPrjWizCustom);
  rig.Next(kPrjWizFinish);
  for (int expected : {kPrjWizCustom, kPrjWizOptions, kPrjWizFolder, kPrjWizLogin, kPrjWizUrl,
                       kPrjWizAddressMethod}) {
    rig.wizard->back();
    EXPECT_EQ(rig.wizard->currentId(), expected);
  }
}

TEST(PrjWizardFlow, ImportedAddressAndBackFromTheLoginPage) {
  WizardRig rig;
  rig.Next(kPrjWizTitle);
  rig.Next(kPrjWizAddressMethod);
  // Without a page-view address the third method cannot be chosen.
  EXPECT_FALSE(Find<QAbstractButton>(rig.wizard.get(), kIdcWizPageViewUrl)->isEnabled());
  rig.Click(kIdcWizImportUrl);
  rig.Next(kPrjWizImport);
  EXPECT_FALSE(rig.NextOffered());
  // The import that is asked for is the chosen one.
  rig.Click(kIdcWizImportNetscape);
  rig.Click(kIdcWizImport);
  EXPECT_FALSE(rig.NextOffered());
  rig.Click(kIdcWizImportFile);
  rig.Click(kIdcWizImport);
  EXPECT_EQ(Find<QLineEdit>(rig.wizard.get(), kIdcWizImportedUrl)->text().toStdString(),
            rig.imported);
  EXPECT_TRUE(rig.NextOffered());
  rig.Next(kPrjWizLogin);
  rig.wizard->back();
  EXPECT_EQ(rig.wizard->currentId(), kPrjWizImport);
  EXPECT_EQ(rig.wizard->Result().QN_START_URL[0], rig.imported);
}

TEST(PrjWizardFlow, PageViewAddressIsCopiedAndStillEditable) {
  WizardRig rig("http://shown.example/page.htm");
  rig.Next(kPrjWizTitle);
  rig.Next(kPrjWizAddressMethod);
  auto* pageView = Find<QAbstractButton>(rig.wizard.get(), kIdcWizPageViewUrl);
  ASSERT_TRUE(pageView->isEnabled());
  pageView->click();
  rig.Next(kPrjWizUrl);
  auto* url = Find<QComboBox>(rig.wizard.get(), kIdcWizUrl);
  EXPECT_EQ(url->currentText(), "http://shown.example/page.htm");
  url->setEditText("http://shown.example/other.htm");
  EXPECT_EQ(rig.wizard->Result().QN_START_URL[0], "http://shown.example/other.htm");
}

TEST(PrjWizardFolder, ProposalFromTheTitle) {
  EXPECT_EQ(ProposeProjectFolder("My Site: A*B|C", "/data/sites", "/opt/q/"),
            "/data/sites/My_Site__A_B_C");
  EXPECT_EQ(ProposeProjectFolder("", "/data/sites/", "/opt/q/"), "/data/sites/");
  EXPECT_EQ(ProposeProjectFolder("abcdefghijklmnopqrstuvwxyz0123", "", "/opt/q/"),
            "/opt/q/Download/abcdefghijklmnopqrst");
  // Separators and a leading dot cannot nest folders or climb out of the base.
  EXPECT_EQ(TitleFolderName("../etc/x\\y"), "_._etc_x_y");
  EXPECT_EQ(TitleFolderName(".hidden"), "_hidden");
  EXPECT_EQ(TitleFolderName("tab\there"), "tab_here");
  // Twenty characters, not bytes: a multi-byte character is never cut.
  std::string accents;
  for (int i = 0; i < 25; ++i) accents += "\xC3\xA9";
  EXPECT_EQ(TitleFolderName(accents), accents.substr(0, 40));

  // The page proposes the folder each time it is shown, from the title typed.
  WizardRig rig;
  rig.Next(kPrjWizTitle);
  rig.Type(kIdcWizTitle, "My Site: A*B|C");
  for (int page : {kPrjWizAddressMethod, kPrjWizUrl}) rig.Next(page);
  Find<QComboBox>(rig.wizard.get(), kIdcWizUrl)->setEditText("http://a.example/");
  for (int page : {kPrjWizLogin, kPrjWizFolder}) rig.Next(page);
  EXPECT_EQ(Find<QLineEdit>(rig.wizard.get(), kIdcWizFolder)->text(), "/data/sites/My_Site__A_B_C");
  EXPECT_EQ(rig.wizard->Result().QN_PROJECT_DIR, "/data/sites/My_Site__A_B_C");
}

TEST(PrjWizardOptions, FileTypeMaskKeepsOtherAndDefaultsKeepTheStartingOptions) {
  WizardRig rig;
  rig.Next(kPrjWizTitle);
  rig.Next(kPrjWizAddressMethod);
  rig.Next(kPrjWizUrl);
  Find<QComboBox>(rig.wizard.get(), kIdcWizUrl)->setEditText("http://a.example/");
  for (int page : {kPrjWizLogin, kPrjWizFolder, kPrjWizOptions}) rig.Next(page);
  rig.Click(kIdcWizCustom);
  rig.Next(kPrjWizCustom);
  for (int id : {kIdcWizTypeHtml, kIdcWizTypeImage, kIdcWizTypeAudio, kIdcWizTypeVideo,
                 kIdcWizTypeJava, kIdcWizTypeDoc, kIdcWizTypeArch})
    Find<QCheckBox>(rig.wizard.get(), id)->setChecked(false);
  rig.Click(kIdcWizAllServers);
  rig.Next(kPrjWizFinish);
  EXPECT_EQ(rig.wizard->Result().QN_FILE_TYPES, 64);
  EXPECT_EQ(rig.wizard->Result().QN_OFFSITE, 1);
  rig.wizard->back();
  Find<QCheckBox>(rig.wizard.get(), kIdcWizTypeHtml)->setChecked(true);
  rig.Next(kPrjWizFinish);
  EXPECT_EQ(rig.wizard->Result().QN_FILE_TYPES, 65);

  // Going back to the default options hands over the options the wizard began with.
  rig.wizard->back();
  rig.wizard->back();
  rig.Click(kIdcWizDefaults);
  rig.Next(kPrjWizFinish);
  const CQNSettings result = rig.wizard->Result();
  EXPECT_EQ(result.QN_FILE_TYPES, 511);
  EXPECT_EQ(result.QN_OFFSITE, 0);
  EXPECT_EQ(result.QN_START_URL[0], "http://a.example/");
}

// A new project made with the wizard, saved under the name the user gives, and its
// download started at once from a local server.
TEST(PrjWizardFinish, SaveAndStartDownloadsTheSite) {
  AppRig rig;
  CQNApp& app = *rig.app;
  const TempDir& dir = rig.dir;
  rig.frontEnd.savePath = (dir / "site.qnp").string();
  app.Options().options.LastFilesDir = (dir / "files").string();
  app.NewProject();

  HttpTestServer server;
  server.server().Get("/index.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<a href=\"next.html\">next</a>", "text/html");
  });
  server.server().Get("/next.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<p>next</p>", "text/html");
  });
  server.Start();

  QNTexts texts;
  CQNPrjWiz wizard(app.Session().doc.SettingsCopy(), {}, WizardContext(app, {}), {}, texts);
  wizard.restart();
  wizard.next();
  Find<QLineEdit>(&wizard, kIdcWizTitle)->setText("Local Site");
  wizard.next();
  wizard.next();
  Find<QComboBox>(&wizard, kIdcWizUrl)
      ->setEditText(QString::fromStdString(server.Url("/index.html")));
  for (int i = 0; i < 4; ++i) wizard.next();
  ASSERT_EQ(wizard.currentId(), kPrjWizFinish);
  Find<QCheckBox>(&wizard, kIdcWizSaveAndStart)->setChecked(true);
  Find<QCheckBox>(&wizard, kIdcWizDontShow)->setChecked(true);

  ASSERT_TRUE(FinishNewProject(app, wizard.State(), wizard.Result()));
  ASSERT_TRUE(app.Session().doc.WaitForRunEnd(std::chrono::seconds(30)));
  QCoreApplication::processEvents();

  EXPECT_EQ(app.Session().Path(), (dir / "site.qnp").string());
  EXPECT_TRUE(std::filesystem::exists(dir / "site.qnp"));
  EXPECT_EQ(app.Session().settings.QN_TITLE, "Local Site");
  const auto folder = dir / "files" / "Local_Site";
  EXPECT_EQ(app.Session().settings.QN_PROJECT_DIR, folder.string());
  EXPECT_NE(ReadFile(folder / "index.html").find("next"), std::string::npos)
      << "files in " << folder;
  EXPECT_TRUE(std::filesystem::exists(folder / "next.html"));
  EXPECT_EQ(app.Options().options.Wizards & kWizardNewProject, 0);
  EXPECT_EQ(app.Options().urlHistory.Entries().front(), server.Url("/index.html"));
  // "..." was not used: LastFilesDir stays.
  EXPECT_EQ(app.Options().options.LastFilesDir, (dir / "files").string());
}

}  // namespace
}  // namespace qn::test
