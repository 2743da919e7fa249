#include "ui/StopProgress.h"

#include <QPushButton>

#include "ui/DialogIds.h"
#include "ui/DialogTexts.h"

namespace qn {

std::unique_ptr<QProgressDialog> MakeStopProgress(QNStopTask task, const QString& label,
                                                  const QNTexts& texts, QWidget* parent) {
  struct Look {
    int dialogId;
    const char* caption;
    const char* stopText;
    int stopId;
  };
  static constexpr Look kLooks[] = {
      {kDlgPrintContents, "Print Contents", "Cancel", kIdcCancel},
      {kDlgPrintFolder, "Print Folder", "&Stop", kIdcPrintStop},
      {kDlgCopyProgress, "Copy Project", "Stop", kIdcCopyStop},
      {kDlgConvertLinks, "Convert Links", "&Stop", kIdcConvertStop},
  };
  const Look& look = kLooks[static_cast<int>(task)];
  auto dialog = std::make_unique<QProgressDialog>(parent);
  dialog->setWindowModality(Qt::WindowModal);
  dialog->setWindowTitle(QObject::tr(look.caption));
  dialog->setLabelText(label);
  auto* stop = new QPushButton(QObject::tr(look.stopText), dialog.get());
  TagControl(stop, look.stopId);
  dialog->setCancelButton(stop);
  TagDialog(dialog.get(), look.dialogId);
  TranslateDialog(dialog.get(), texts);
  return dialog;
}

}  // namespace qn
