// The German translation that the build ships covers every dialog: each window and
// page of the desktop program is opened with German.qlg installed, and every caption,
// tagged control and text shown by id must have its German text, shown in place.
#include <gtest/gtest.h>

#include <QKeySequence>
#include <QWizard>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <tuple>

#include "TestPaths.h"
#include "support/TempDir.h"
#include "text/LanguageFile.h"
#include "text/Texts.h"
#include "text/TranslationCheck.h"
#include "ui/BookmarkPicker.h"
#include "ui/CopyWizard.h"
#include "ui/CountdownDialog.h"
#include "ui/DialogIds.h"
#include "ui/DialogTextTable.h"
#include "ui/DialogTexts.h"
#include "ui/DownloadKindDialog.h"
#include "ui/ExtensionDialog.h"
#include "ui/FindDialog.h"
#include "ui/FirstRunSheet.h"
#include "ui/GoToDialog.h"
#include "ui/MessageBox.h"
#include "ui/NodeDialog.h"
#include "ui/OptionsDialog.h"
#include "ui/PasswordDialog.h"
#include "ui/PrjWizard.h"
#include "ui/ProgressWindow.h"
#include "ui/ScheduleDialog.h"
#include "ui/SettingsDialog.h"
#include "ui/StopProgress.h"
#include "ui/UrlFilterDialog.h"
#include "ui/WaitWindow.h"
#include "ui/WizardIds.h"

namespace qn::test {
namespace {

using Maker = std::function<std::unique_ptr<QWidget>(const QNTexts&)>;

// Every dialog and wizard of the program; the pages of a tabbed dialog or a wizard are
// made with it.
std::vector<Maker> EveryDialog() {
  QNPrjWizContext context;
  context.lastFilesDir = "/data/sites";
  return {
      [](const QNTexts& t) {
        return std::make_unique<QNSettingsDialog>(CQNSettings{}, t, nullptr);
      },
      [](const QNTexts& t) {
        return std::make_unique<QNUrlFilterDialog>(CQNUrlFilter{}, "URL Filter", t, nullptr);
      },
      [context](const QNTexts& t) {
        return std::make_unique<CQNPrjWiz>(CQNSettings{}, QNPrjWizState{}, context,
                                           QNPrjWizServices{}, t);
      },
      [](const QNTexts& t) {
        return std::make_unique<CQNOptionsDialog>(QNProgramOptions{}, QNOptionsChoices{}, t);
      },
      [](const QNTexts& t) {
        return std::make_unique<CQNCopyWiz>("/data/garden.qnp", "/data", t, [](int) {});
      },
      [](const QNTexts& t) {
        return std::make_unique<QNFirstRunSheet>(QNProgramOptions{}, t, std::nullopt, nullptr);
      },
      [](const QNTexts& t) { return std::make_unique<QNProgressWindow>(t); },
      [](const QNTexts& t) {
        return std::make_unique<QNDownloadKindDialog>(QNDownloadKindOffer{true, true, true, true},
                                                      t);
      },
      [](const QNTexts& t) {
        return std::make_unique<CQNCountdownDialog>("%d", 5, t, nullptr, std::chrono::hours(1));
      },
      [](const QNTexts& t) {
        return std::make_unique<CQNScheduleDialog>(std::vector<QNScheduleEntry>{}, t, "/data");
      },
      [](const QNTexts& t) {
        return std::make_unique<CQNBookmarkPicker>(std::vector<QNBookmarkSource>{},
                                                   QNBookmarkBrowser::Netscape, t);
      },
      [](const QNTexts& t) { return std::make_unique<QNGoToDialog>(QStringList{}, t); },
      [](const QNTexts& t) { return std::make_unique<QNFindDialog>(QStringList{}, t); },
      [](const QNTexts& t) { return std::make_unique<QNNodeDialog>(kNodeFolder, t); },
      [](const QNTexts& t) { return std::make_unique<QNNodeDialog>(kNodeLink, t); },
      [](const QNTexts& t) { return std::make_unique<QNNodeDialog>(QNNodeFacts{}, true, t); },
      [](const QNTexts& t) { return std::make_unique<QNExtensionDialog>(t); },
      [](const QNTexts& t) { return MakeStopProgress(QNStopTask::kPrintContents, "", t, nullptr); },
      [](const QNTexts& t) { return MakeStopProgress(QNStopTask::kPrintFolder, "", t, nullptr); },
      [](const QNTexts& t) { return MakeStopProgress(QNStopTask::kCopyProject, "", t, nullptr); },
      [](const QNTexts& t) { return MakeStopProgress(QNStopTask::kConvertLinks, "", t, nullptr); },
      [](const QNTexts& t) { return MakeAboutBox(nullptr, t); },
      [](const QNTexts& t) { return std::make_unique<QNPasswordDialog>(t); },
      [](const QNTexts& t) { return std::make_unique<QNWaitWindow>("", t); },
      [](const QNTexts& t) {
        return MakeMessageBox(nullptr, QMessageBox::Question, "Quillorne", "?",
                              QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes |
                                  QMessageBox::No | QMessageBox::Close,
                              t);
      },
  };
}

// Dialogs whose caption comes from elsewhere: the string table ("Welcome"), the page
// shown (the new-project wizard), the program's name, the window a message is about,
// the command that opened it (the URL filter).
const std::set<int> kCaptionElsewhere = {kDlgUrlFilter, kDlgPrjWiz, kDlgConnWiz, kDlgCountdown,
                                         kDlgMessage};

struct Shown {
  int dialog;
  int control;  // 0: the caption
  QString text;
  bool operator<(const Shown& other) const {
    return std::tie(dialog, control) < std::tie(other.dialog, other.control);
  }
};

// The caption and the texts of the tagged controls of a window and of its pages.
std::set<Shown> TextsShown(QWidget* window) {
  std::set<Shown> shown;
  std::vector<QWidget*> dialogs = {window};
  for (QWidget* child : window->findChildren<QWidget*>())
    if (DialogIdOf(child) != 0) dialogs.push_back(child);
  for (QWidget* dialog : dialogs) {
    const int id = DialogIdOf(dialog);
    if (!kCaptionElsewhere.contains(id) && !dialog->windowTitle().isEmpty())
      shown.insert({id, 0, dialog->windowTitle()});
    if (const auto* page = qobject_cast<QWizardPage*>(dialog); page && !page->title().isEmpty())
      shown.insert({id, kIdcPageTitle, page->title()});
    for (const auto& [control, controlId] : DialogControls(dialog))
      if (const QString text = ControlText(control); !text.isEmpty())
        shown.insert({id, controlId, text});
  }
  return shown;
}

// Controls of one dialog or page whose shortcuts are the same letter.
void ReportClashes(const std::set<Shown>& shown, std::ostream& clashes) {
  std::map<std::pair<int, QString>, std::vector<const Shown*>> byLetter;
  for (const Shown& text : shown) {
    const QKeySequence key = QKeySequence::mnemonic(text.text);
    if (text.control != 0 && !key.isEmpty())
      byLetter[{text.dialog, key.toString()}].push_back(&text);
  }
  for (const auto& [key, texts] : byLetter) {
    if (texts.size() < 2) continue;
    clashes << "\n  dialog " << key.first << ":";
    for (const Shown* text : texts) clashes << " \"" << text->text.toStdString() << "\"";
  }
}

TEST(GermanDialogs, EveryDialogAndEveryStringHasItsGermanText) {
  const auto german = ParseLanguageFile(ReadFile(QN_BUILD_DIR "/German.qlg"));
  ASSERT_TRUE(german) << "German.qlg is built beside the programs";
  // Strings too: a message the translation lacks would show in English.
  for (const std::string& warning : CheckTranslation(*german)) ADD_FAILURE() << warning;

  QNTexts english;
  QNTexts texts;
  texts.Install(std::make_shared<const QNTextTable>(*german));
  std::ostringstream missing;
  std::ostringstream clashes;
  int shownTexts = 0;
  const auto lacks = [&](int dialog, int control, const QString& text) {
    const auto translated =
        control == 0 ? texts.DialogCaption(dialog) : texts.DialogItem(dialog, control);
    if (!translated)
      missing << "\n  dialog " << dialog << " " << control << " \"" << text.toStdString() << "\"";
    return !translated;
  };
  for (const Maker& make : EveryDialog()) {
    const std::set<Shown> built = TextsShown(make(english).get());
    const std::set<Shown> translated = TextsShown(make(texts).get());
    ReportClashes(translated, clashes);
    for (const Shown& text : built) {
      ++shownTexts;
      if (lacks(text.dialog, text.control, text.text)) continue;
      // The German text is what the window shows.
      const auto in = translated.find(text);
      ASSERT_NE(in, translated.end());
      const std::string expected = text.control == 0 ? *texts.DialogCaption(text.dialog)
                                                     : *texts.DialogItem(text.dialog, text.control);
      EXPECT_EQ(in->text.toStdString(), expected) << text.dialog << " " << text.control;
    }
  }
  for (const QNDialogTextEntry& entry : kDialogTextTable)
    lacks(entry.text.dialog, entry.text.control, QString::fromUtf8(entry.text.builtIn));
  EXPECT_GT(shownTexts, 300);
  EXPECT_EQ(missing.str(), "") << "German.qlg has no text for:";
  EXPECT_EQ(clashes.str(), "") << "German shortcuts used twice in a dialog:";
}

}  // namespace
}  // namespace qn::test
