// The countdown dialog, and questions asked of the GUI thread by other threads.

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <future>
#include <thread>

#include "text/Texts.h"
#include "ui/CountdownDialog.h"
#include "ui/GuiQuestions.h"
#include "ui/ShownDialog.h"

namespace qn {
namespace {

using namespace std::chrono_literals;

QString Shown(const QDialog& dialog) {
  return dialog.findChild<QLabel*>()->text();
}

bool Answered(std::future<bool>& answer) {
  return QTest::qWaitFor([&] { return answer.wait_for(0s) == std::future_status::ready; }, 10000);
}

TEST(CountdownDialog, CountsDownAndConfirmsItselfOrIsCancelled) {
  CQNCountdownDialog dialog("Disconnecting in %d seconds", 3, QNTexts(), nullptr, 20ms);
  QStringList seen{Shown(dialog)};
  auto* bar = dialog.findChild<QProgressBar*>();
  QObject::connect(bar, &QProgressBar::valueChanged, [&] {
    // The text follows the bar in the same step.
    QTimer::singleShot(0, [&] { seen << Shown(dialog); });
  });
  QSignalSpy finished(&dialog, &QDialog::finished);
  dialog.open();
  ASSERT_TRUE(finished.wait(10000));
  QTest::qWait(50);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(bar->value(), 3);
  EXPECT_EQ(seen, (QStringList{"Disconnecting in 3 seconds", "Disconnecting in 2 seconds",
                               "Disconnecting in 1 seconds", "Disconnecting in 0 seconds"}));

  // Escape cancels, and the count does not confirm it afterwards.
  CQNCountdownDialog cancelled("Shuting system down in %d seconds", 2, QNTexts(), nullptr, 20ms);
  cancelled.open();
  QTest::keyClick(&cancelled, Qt::Key_Escape);
  QTest::qWait(100);
  EXPECT_EQ(cancelled.result(), QDialog::Rejected);
  EXPECT_EQ(cancelled.findChild<QProgressBar*>()->value(), 0);

  // A translation whose placeholder does not fit is shown as written; Enter confirms.
  CQNCountdownDialog odd("Converting Links in %s seconds", 5, QNTexts(), nullptr, 10s);
  EXPECT_EQ(Shown(odd), "Converting Links in %s seconds");
  odd.open();
  QTest::keyClick(&odd, Qt::Key_Return);
  EXPECT_EQ(odd.result(), QDialog::Accepted);
}

TEST(GuiQuestions, AnotherThreadWaitsForTheAnswerAndACancelEndsTheWait) {
  QNGuiQuestions questions;
  const auto countdown = [](int seconds, std::chrono::milliseconds step) {
    return [=] {
      return std::make_unique<CQNCountdownDialog>("%d", seconds, QNTexts(), nullptr, step);
    };
  };

  // The dialog runs on this thread; the asking thread gets what it gave.
  auto confirmed =
      std::async(std::launch::async, [&] { return questions.Ask(countdown(2, 20ms)); });
  ASSERT_TRUE(Answered(confirmed));
  EXPECT_TRUE(confirmed.get());

  QObject owner;
  auto refused = std::async(std::launch::async, [&] { return questions.Ask(countdown(60, 1s)); });
  test::WhenShown<CQNCountdownDialog>(
      owner, [](CQNCountdownDialog& shown) { QTest::keyClick(&shown, Qt::Key_Escape); });
  ASSERT_TRUE(Answered(refused));
  EXPECT_FALSE(refused.get());

  // A cancel answers a question that is shown and closes its dialog...
  QPointer<QDialog> closed;
  auto open = std::async(std::launch::async, [&] { return questions.Ask(countdown(60, 1s)); });
  test::WhenShown<CQNCountdownDialog>(owner, [&](CQNCountdownDialog& shown) {
    closed = &shown;
    questions.CancelAll();
  });
  ASSERT_TRUE(Answered(open));
  EXPECT_FALSE(open.get());
  EXPECT_TRUE(QTest::qWaitFor([&] { return closed.isNull(); }, 10000));

  // ... and one that has not been shown yet, which then never is.
  std::atomic<bool> made = false;
  auto queued = std::async(std::launch::async, [&] {
    return questions.Ask([&] {
      made = true;
      return countdown(60, 1s)();
    });
  });
  // The GUI thread takes no event meanwhile, so the question waits in its queue.
  std::this_thread::sleep_for(100ms);
  questions.CancelAll();
  EXPECT_EQ(queued.wait_for(5s), std::future_status::ready);
  EXPECT_FALSE(queued.get());
  QTest::qWait(50);
  EXPECT_FALSE(made);
  EXPECT_EQ(test::ShownDialog<CQNCountdownDialog>(), nullptr);
}

}  // namespace
}  // namespace qn
