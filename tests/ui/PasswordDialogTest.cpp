// "Enter Password" as the desktop program asks it.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "ui/GuiObserver.h"
#include "ui/PasswordDialog.h"
#include "ui/ShownDialog.h"

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

}  // namespace
}  // namespace qn::test
