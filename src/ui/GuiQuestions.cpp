#include "ui/GuiQuestions.h"

#include <QPointer>
#include <QThread>
#include <condition_variable>
#include <optional>

namespace qn {

struct QNGuiQuestions::Question {
  std::mutex mutex;
  std::condition_variable answered;
  std::optional<bool> answer;
  QPointer<QDialog> dialog;  // while shown; GUI thread only

  // The first answer counts: the person's, or the cancel that came before it.
  void Answer(bool value) {
    std::lock_guard lock(mutex);
    if (!answer) answer = value;
    answered.notify_all();
  }
  bool Answered() {
    std::lock_guard lock(mutex);
    return answer.has_value();
  }
  bool Wait() {
    std::unique_lock lock(mutex);
    answered.wait(lock, [this] { return answer.has_value(); });
    return *answer;
  }
};

void QNGuiQuestions::RunOnGuiThread(std::function<void()> work) {
  if (QThread::currentThread() == context_.thread())
    work();
  else
    QMetaObject::invokeMethod(&context_, std::move(work), Qt::QueuedConnection);
}

bool QNGuiQuestions::Ask(std::function<std::unique_ptr<QDialog>()> make) {
  auto question = std::make_shared<Question>();
  {
    std::lock_guard lock(mutex_);
    asked_.push_back(question);
  }
  RunOnGuiThread([question, make = std::move(make)] {
    if (question->Answered()) return;
    const std::unique_ptr<QDialog> dialog = make();
    question->dialog = dialog.get();
    question->Answer(dialog->exec() == QDialog::Accepted);
  });
  const bool answer = question->Wait();
  std::lock_guard lock(mutex_);
  std::erase(asked_, question);
  return answer;
}

void QNGuiQuestions::CancelAll() {
  std::vector<std::shared_ptr<Question>> asked;
  {
    std::lock_guard lock(mutex_);
    asked = asked_;
  }
  for (const std::shared_ptr<Question>& question : asked) {
    question->Answer(false);
    RunOnGuiThread([question] {
      if (question->dialog) question->dialog->reject();
    });
  }
}

}  // namespace qn
