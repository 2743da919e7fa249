#pragma once

// Answers the next modal dialog a test opens: once the dialog runs its own loop,
// `answer` gets it (to fill it in, press a key or click a button).

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace qn::test {

inline void AnswerNextModal(std::function<void(QWidget&)> answer) {
  QTimer::singleShot(0, [answer = std::move(answer)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal) answer(*modal);
  });
}

}  // namespace qn::test
