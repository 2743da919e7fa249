#pragma once

// The progress window of a run: status text, the counters, speed and elapsed time,
// one row per worker with its file's category picture, and the speed slider. It is
// fed only with status records that the GUI thread took from the engine's queue;
// what the user asks of the run goes out as signals to the main window.

#include <QDialog>
#include <QIcon>
#include <QTimer>
#include <array>
#include <string>
#include <vector>

#include "ui/ProgressMeter.h"

class QLabel;
class QPushButton;
class QSlider;
class QTreeWidget;
class QTreeWidgetItem;

namespace qn {

class QNTexts;
struct QNStatus;

// The picture of a row by its file's category bit: HTML, image, audio, video, Java,
// other, document and archive give pictures 0 to 7, anything else picture 8.
int CategoryPicture(int category);

class QNProgressWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxRows = 100;

  QNProgressWindow(const QNTexts& texts, QWidget* parent = nullptr);

  // A status record of the run, as its mask says.
  void Apply(const QNStatus& status);
  // A new run starts: "Stop" instead of "Close", the slider at the run's level.
  void Reset(int speedLevel);
  // The timer's second (also called by tests).
  void Tick();

  // What the window shows, for whoever checks it.
  QString StatusText() const;
  QString SpeedText() const;
  QString ElapsedText() const;
  QString CounterText(int mask) const;
  int RowCount() const;
  // The worker of a row, its three columns and its picture.
  struct Row {
    int worker = -1;
    QString name, size, status;
    int picture = -1;
  };
  Row RowAt(int index) const;
  bool Stopping() const;

 Q_SIGNALS:
  void StopRequested();
  void SettingsRequested();
  void SpeedLevelChanged(int level);
  // The row menu: the address of the row's file; the row's worker.
  void ShowFileLocation(const std::string& address);
  void AbortFile(int worker);

 protected:
  // The list's viewport resized: the columns are fitted to it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTreeWidgetItem* RowOf(int worker);
  void FitColumns();
  void ShowRowMenu(const QPoint& at);
  void StopOrClose();

  const QNTexts& texts_;
  QNProgressMeter meter_;
  QTimer timer_;
  QLabel* status_ = nullptr;
  QLabel* found_ = nullptr;
  QLabel* processed_ = nullptr;
  QLabel* totalSize_ = nullptr;
  QLabel* speed_ = nullptr;
  QLabel* elapsed_ = nullptr;
  QTreeWidget* rows_ = nullptr;
  QSlider* slider_ = nullptr;
  QPushButton* stop_ = nullptr;
  bool closeOnly_ = false;
  // The address each worker's row shows.
  std::array<std::string, kMaxRows> addresses_;
  std::array<QIcon, 9> pictures_;
};

}  // namespace qn
