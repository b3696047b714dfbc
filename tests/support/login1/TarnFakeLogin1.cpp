#include "tests/support/login1/TarnFakeLogin1.h"

#include <QUuid>

TarnFakeLogin1::TarnFakeLogin1(Answer answer) {
  const std::string socket = folder_.filePath(QStringLiteral("bus")).toStdString();
  if (!bus_.start({"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + socket,
                   "--print-address=1"}) ||
      !bus_.waitForLineCount(1))
    return;
  const std::string address = bus_.lines().front();
  std::vector<std::string> arguments{TARN_FAKE_LOGIN1_PATH, address};
  if (answer == Answer::refuse) arguments.push_back("--refuse");
  ready_ = standIn_.start(arguments) && standIn_.waitForLine("READY\n");
  connectionName_ = QUuid::createUuid().toString();
  connection_ = QDBusConnection::connectToBus(QString::fromStdString(address), connectionName_);
}

TarnFakeLogin1::~TarnFakeLogin1() {
  if (!connectionName_.isEmpty()) QDBusConnection::disconnectFromBus(connectionName_);
  standIn_.stop();
  bus_.stop();
}

std::vector<std::string> TarnFakeLogin1::calls() {
  standIn_.drain();
  std::vector<std::string> lines = standIn_.lines();
  if (!lines.empty()) lines.erase(lines.begin());  // READY
  return lines;
}
