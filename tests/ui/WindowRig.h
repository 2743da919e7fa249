#pragma once

// The main window over a real application object whose options and projects live in
// a temporary folder, with the desktop program's observer between them, as the
// program sets them up.

#include <QCoreApplication>
#include <QSettings>
#include <memory>

#include "app/Application.h"
#include "app/DesktopServices.h"
#include "support/TempDir.h"
#include "ui/ContentsPane.h"
#include "ui/GuiObserver.h"
#include "ui/MainFrame.h"
#include "ui/WaitWindow.h"

namespace qn::test {

class QuietFrontEnd : public IQNAppFrontEnd {
 public:
  QNSaveAnswer AskSaveChanges(const std::string&) override { return QNSaveAnswer::kDiscard; }
  std::optional<std::string> AskSavePath() override { return std::nullopt; }
  void RequestClose(int) override {}
  void ProjectOpened() override {}
  void RestoreWindow() override {}
  // As the desktop program waits: the stop on a thread behind the wait window.
  void WaitForStop(const std::string& text, const std::function<void()>& stop) override {
    RunBehindWaitWindow(QString::fromStdString(text), QNTexts(), window, stop);
  }

  QWidget* window = nullptr;
};

class NoDesktop : public IQNDesktopServices {
 public:
  bool OpenUrl(const std::string&) override { return false; }
};

class WindowRig {
 public:
  WindowRig() {
    auto file = std::make_unique<QSettings>(
        QString::fromStdString((dir / "Quillorne.conf").string()), QSettings::IniFormat);
    QNAppFolders folders{dir.str() + "/", dir.str() + "/", dir.str()};
    app = std::make_unique<CQNApp>(observer, frontEnd, folders, std::move(file));
    app->LoadOptions(QNScreenMetrics());
    frame = std::make_unique<CQNMainFrame>(*app, desktop);
    observer.SetFrame(frame.get());
    frontEnd.window = frame.get();
  }
  ~WindowRig() {
    // The project and its events end before the window they go to.
    app.reset();
    frame.reset();
  }

  // A new project, shown as the program shows it after New.
  void NewProject() {
    app->NewProject();
    frame->ShowProject();
    Settle();
  }

  // A new project that copies from `startUrl` into the folder "copy".
  void NewProjectOf(const std::string& startUrl) {
    NewProject();
    CQNSettings settings = Doc().SettingsCopy();
    settings.QN_START_URL[0] = startUrl;
    settings.QN_PROJECT_DIR = (dir / "copy").string() + "/";
    Doc().ApplyChangedSettings(settings);
  }

  CQNDoc& Doc() { return app->Session().doc; }
  QNContentsPane& Pane() { return frame->Contents(); }

  // Handles what the engine queued for the window.
  void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    Pane().Drain();
  }

  TempDir dir;
  QNGuiObserver observer;
  QuietFrontEnd frontEnd;
  NoDesktop desktop;
  std::unique_ptr<CQNApp> app;
  std::unique_ptr<CQNMainFrame> frame;
};

}  // namespace qn::test
