#pragma once

// "Copy Project": the wizard that asks where and what to copy, and the command that
// runs the copy behind a progress window with "Stop".

#include <QWizard>
#include <string>

#include "storage/ProjectOperations.h"
#include "ui/CopyWizPages.h"

namespace qn {

class CQNApp;
class QNTexts;

class CQNCopyWiz : public QWizard {
  Q_OBJECT

 public:
  CQNCopyWiz(const std::string& projectFile, const std::string& lastCopyDir, const QNTexts& texts,
             QNWarn warn, QWidget* parent = nullptr);

  const QNCopyRequest& Request() const { return request_; }

 private:
  QNCopyRequest request_;
};

// Copies the open project as the wizard's answers ask: LastCopyDir takes the
// destination, and the copy runs on a pool thread while a progress window, modal
// over `parent`, shows how far it got. True when the copy succeeded.
bool RunCopyProject(CQNApp& app, QWidget* parent);

}  // namespace qn
