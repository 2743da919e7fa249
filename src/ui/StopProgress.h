#pragma once

// The progress window of a long task (printing the contents or a folder, copying a
// project, converting links), modal over its window, with a button that stops it,
// tagged as the task's dialog so that its caption and button are translated.

#include <QProgressDialog>
#include <memory>

namespace qn {

class QNTexts;

enum class QNStopTask { kPrintContents, kPrintFolder, kCopyProject, kConvertLinks };

std::unique_ptr<QProgressDialog> MakeStopProgress(QNStopTask task, const QString& label,
                                                  const QNTexts& texts, QWidget* parent);

}  // namespace qn
