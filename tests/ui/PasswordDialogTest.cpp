// "Enter Password" as the desktop program asks it, and the German texts of the
// password and wait windows.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "TestPaths.h"
#include "support/TempDir.h"
#include "text/LanguageSource.h"
#include "ui/GuiObserver.h"
#include "ui/PasswordDialog.h"
#include "ui/PromptIds.h"
#include "ui/ShownDialog.h"
#include "ui/WaitWindow.h"

namespace qn::test {
namespace {

QPushButton* OkOf(QDialog& dialog) {
  return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

TEST(PasswordDialogTest, AsksForAMaskedAsciiPasswordAndEscapeCancels) {
  QNGuiObserver observer;
  QObject owner;
  QString refusal;
  bool okWhileEmpty = true;
  bool openAfterRefusal = false;
  WhenShown<QMessageBox>(owner, [&](QMessageBox& box) {
    refusal = box.text();
    box.accept();
  });
  WhenShown<QNPasswordDialog>(owner, [&](QNPasswordDialog& dialog) {
    auto* entry = dialog.findChild<QLineEdit*>("idc1600");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->echoMode(), QLineEdit::Password);
    okWhileEmpty = OkOf(dialog)->isEnabled();
    // Enter on an empty entry does not answer.
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    entry->insert(QString::fromUtf8("s\xc3\xa9same"));
    OkOf(dialog)->click();
    openAfterRefusal = dialog.isVisible();
    entry->setText("open sesame");
    QTest::keyClick(entry, Qt::Key_Return);
  });
  EXPECT_EQ(observer.AskPassword(), std::optional<std::string>("open sesame"));
  EXPECT_FALSE(okWhileEmpty);
  EXPECT_EQ(refusal, "Password cannot have characters with ASCII code greater than 127.");
  EXPECT_TRUE(openAfterRefusal);

  WhenShown<QNPasswordDialog>(owner, [](QNPasswordDialog& dialog) {
    QTest::keyClicks(dialog.findChild<QLineEdit*>("idc1600"), "typed");
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  EXPECT_EQ(observer.AskPassword(), std::nullopt);
}

TEST(PasswordDialogTest, TheGermanTranslationNamesThePasswordAndWaitWindows) {
  std::string why;
  const auto german = ParseLanguageSource(ReadFile(QN_TEST_SOURCE_DIR "/data/lang/de.txt"), &why);
  ASSERT_TRUE(german) << why;
  QNTexts texts;
  texts.Install(std::make_shared<const QNTextTable>(*german));

  QNPasswordDialog password(texts);
  EXPECT_EQ(password.windowTitle(), "Kennwort eingeben");
  EXPECT_EQ(password.findChild<QLabel*>("idc2100")->text(), "&Kennwort:");
  QNWaitWindow wait("...", texts);
  EXPECT_EQ(wait.windowTitle(), "Bitte warten");
  // Nothing but the end of the work closes the wait window.
  EXPECT_FALSE(wait.windowFlags() & Qt::WindowCloseButtonHint);
}

}  // namespace
}  // namespace qn::test
