#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>

#include "ui/DialogIds.h"
#include "ui/DialogTextTable.h"
#include "ui/DialogTexts.h"

namespace qn {

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& title, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            const QNTexts& texts) {
  auto box = std::make_unique<QMessageBox>(icon, title, text, buttons, parent);
  for (QAbstractButton* button : box->buttons())
    if (const int id = StandardButtonId(box->standardButton(button))) TagControl(button, id);
  TagDialog(box.get(), kDlgMessage);
  TranslateDialog(box.get(), texts);
  // The caption names the window the message is about, whatever the language says.
  box->setWindowTitle(title);
  return box;
}

QMessageBox::StandardButton AskUser(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                    const QString& text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton preselected, const QNTexts& texts) {
  const std::unique_ptr<QMessageBox> box =
      MakeMessageBox(parent, icon, title, text, buttons, texts);
  box->setDefaultButton(preselected);
  return static_cast<QMessageBox::StandardButton>(box->exec());
}

std::unique_ptr<QMessageBox> MakeAboutBox(QWidget* parent, const QNTexts& texts) {
  auto box =
      MakeMessageBox(parent, QMessageBox::Information, QString(),
                     DialogText(texts, kTxtAboutText).arg(QApplication::applicationVersion()),
                     QMessageBox::Ok, texts);
  box->setWindowTitle(QObject::tr("About Quillorne"));
  box->setIconPixmap(QApplication::windowIcon().pixmap(64));
  TagDialog(box.get(), kDlgAbout);
  TranslateDialog(box.get(), texts);
  return box;
}

}  // namespace qn
