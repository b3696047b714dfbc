#include "tests/support/services/TarnTestDaemon.h"

#include <QDeadlineTimer>

#include <csignal>
#include <stdexcept>
#include <sys/prctl.h>

TarnTestDaemon::TarnTestDaemon(const QString& program, const QStringList& arguments,
                               const QProcessEnvironment& environment)
    : program_(program) {
  process_.setProcessEnvironment(environment);
  // A test killed on a time-out takes its servers along instead of leaving
  // them running (daemons that switch users lose this setting).
  process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
  process_.start(program, arguments);
  if (!process_.waitForStarted(5000))
    throw std::runtime_error("cannot start " + program.toStdString() + ": " + process_.errorString().toStdString());
}

TarnTestDaemon::~TarnTestDaemon() { stop(); }

void TarnTestDaemon::feedInput(const QByteArray& bytes) {
  process_.write(bytes);
  process_.waitForBytesWritten(2000);
  process_.closeWriteChannel();
}

QByteArray TarnTestDaemon::readLine(std::chrono::milliseconds limit) {
  const QDeadlineTimer deadline(limit);
  while (!process_.canReadLine()) {
    if (deadline.hasExpired() || !process_.waitForReadyRead(int(deadline.remainingTime())))
      throw std::runtime_error(program_.toStdString() + " printed no line: " + errorOutput().toStdString());
  }
  return process_.readLine().trimmed();
}

void TarnTestDaemon::stop() {
  if (process_.state() == QProcess::NotRunning)
    return;
  process_.terminate();
  if (!process_.waitForFinished(5000)) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

QByteArray TarnTestDaemon::errorOutput() {
  errorOutput_ += process_.readAllStandardError();
  return errorOutput_;
}
