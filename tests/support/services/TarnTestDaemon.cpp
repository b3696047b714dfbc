#include "tests/support/services/TarnTestDaemon.h"

#include <QDeadlineTimer>

#include <stdexcept>

TarnTestDaemon::TarnTestDaemon(const QString& program, const QStringList& arguments,
                               const QProcessEnvironment& environment)
    : program_(program) {
  process_.setProcessEnvironment(environment);
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
