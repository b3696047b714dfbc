#include "tests/support/login1/TarnFakeLogin1.h"

TarnFakeLogin1::TarnFakeLogin1(Answer answer) {
  if (!bus_.isRunning()) return;
  std::vector<std::string> arguments{TARN_FAKE_LOGIN1_PATH, bus_.address().toStdString()};
  if (answer == Answer::refuse) arguments.push_back("--refuse");
  ready_ = standIn_.start(arguments) && standIn_.waitForLine("READY\n");
  connection_ = bus_.connect(QStringLiteral("tarn-login1-client"));
}

std::vector<std::string> TarnFakeLogin1::calls() {
  standIn_.drain();
  std::vector<std::string> lines = standIn_.lines();
  if (!lines.empty()) lines.erase(lines.begin());  // READY
  return lines;
}
