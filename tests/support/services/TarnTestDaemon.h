#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>

// A server a test starts as its own child and stops by PID when it goes:
// SIGTERM, then SIGKILL when it does not leave in time.
class TarnTestDaemon {
public:
  TarnTestDaemon(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment);
  ~TarnTestDaemon();
  TarnTestDaemon(const TarnTestDaemon&) = delete;
  TarnTestDaemon& operator=(const TarnTestDaemon&) = delete;

  qint64 pid() const { return process_.processId(); }
  bool isRunning() const { return process_.state() == QProcess::Running; }
  // Hands the daemon its standard input and closes it.
  void feedInput(const QByteArray& bytes);
  // The first line the daemon prints, without its line end; throws when none comes.
  QByteArray readLine(std::chrono::milliseconds limit);
  void stop();
  // What the daemon wrote to its standard error so far (for failure messages).
  QByteArray errorOutput();

private:
  QString program_;
  QProcess process_;
  QByteArray errorOutput_;
};
