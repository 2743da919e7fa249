#include "app/SystemCommand.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <csignal>

namespace qn {

QNCommandResult RunCommand(const std::string& program, const std::vector<std::string>& args,
                           std::chrono::milliseconds limit) {
  QNCommandResult result;
  QStringList arguments;
  for (const std::string& arg : args) arguments << QString::fromStdString(arg);
  QProcess process;
  process.setProgram(QString::fromStdString(program));
  process.setArguments(arguments);
  process.setStandardInputFile(QProcess::nullDevice());
  // The program gets the signals that quillorne-cli blocks in all its threads, so
  // that Ctrl+C on the terminal reaches nmcli too.
  process.setChildProcessModifier([] {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
  });
  process.start();
  if (!process.waitForStarted(static_cast<int>(limit.count()))) return result;
  result.started = true;
  if (!process.waitForFinished(static_cast<int>(limit.count()))) {
    result.timedOut = true;
    process.kill();
    process.waitForFinished(1000);
  }
  result.output = process.readAllStandardOutput().toStdString();
  result.errors = process.readAllStandardError().toStdString();
  if (!result.timedOut && process.exitStatus() == QProcess::NormalExit)
    result.exitCode = process.exitCode();
  return result;
}

std::string FindProgram(const std::string& program) {
  const QString name = QString::fromStdString(program);
  if (program.find('/') != std::string::npos) {
    const QFileInfo file(name);
    return file.isFile() && file.isExecutable() ? program : std::string();
  }
  return QStandardPaths::findExecutable(name).toStdString();
}

}  // namespace qn
