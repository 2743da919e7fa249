#pragma once

// Message boxes whose buttons speak the installed language, and the about box.

#include <QMessageBox>
#include <memory>

namespace qn {

class QNTexts;

// A message box over `parent`; its buttons are the dialog kDlgMessage's.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& title, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            const QNTexts& texts);

// Shows one and returns the button pressed; `preselected` is the default button.
QMessageBox::StandardButton AskUser(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                    const QString& text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton preselected, const QNTexts& texts);

// "About Quillorne".
std::unique_ptr<QMessageBox> MakeAboutBox(QWidget* parent, const QNTexts& texts);

}  // namespace qn
