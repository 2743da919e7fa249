#pragma once

// What the dialog tests share: a real application object whose options and projects
// live in a temporary folder, and the controls found by their fixed ids.

#include <gtest/gtest.h>

#include <QSettings>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "app/Application.h"
#include "support/TempDir.h"

namespace qn::test {

// Finds the control a dialog tagged with `id`.
template <typename Control>
Control* Find(QWidget* dialog, int id) {
  auto* control = dialog->findChild<Control*>(QString("idc%1").arg(id));
  EXPECT_NE(control, nullptr) << "control " << id;
  return control;
}

// Answers as a user who discards changes and names a new project `savePath`.
class ScriptedFrontEnd : public IQNAppFrontEnd {
 public:
  std::optional<std::string> savePath;

  QNSaveAnswer AskSaveChanges(const std::string&) override { return QNSaveAnswer::kDiscard; }
  std::optional<std::string> AskSavePath() override { return savePath; }
  void RequestClose(int) override {}
  void ProjectOpened() override {}
  void RestoreWindow() override {}
};

// The application object with a new project, as the program has it after start-up.
struct AppRig {
  AppRig() {
    QNAppFolders folders{dir.str() + "/", dir.str() + "/", dir.str()};
    app = std::make_unique<CQNApp>(
        observer, frontEnd, folders,
        std::make_unique<QSettings>(QString::fromStdString((dir / "q.conf").string()),
                                    QSettings::IniFormat));
    app->LoadOptions(QNScreenMetrics());
    app->NewProject();
  }

  TempDir dir;
  IQNObserver observer;
  ScriptedFrontEnd frontEnd;
  std::unique_ptr<CQNApp> app;
};

}  // namespace qn::test
