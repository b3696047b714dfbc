#pragma once
#include "host/runner/TarnMacTerminalRunner.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

// A throw-away home that zsh also takes as HOME, so no real dotfile runs.
class TarnRunnerTestFixture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    ::mkdir(home().c_str(), 0700);
    ::setenv("HOME", home().c_str(), 1);
  }

  std::string home() const { return root_.filePath(QStringLiteral("home")).toStdString(); }
  std::string makeFolder(const std::string& relative) const {
    const std::string path = home() + "/" + relative;
    ::mkdir(path.c_str(), 0700);
    return path;
  }

  TarnTerminalRunnerSettings settings() const {
    TarnTerminalRunnerSettings settings;
    settings.homePath = home();
    return settings;
  }

  static TarnWireTerminalRequest request(std::string command) {
    return {TarnUUID::random(), std::move(command), "/ignored", TarnDate::now()};
  }

private:
  QTemporaryDir root_;
};
