#include "tests/support/terminals/TarnShellHome.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdlib>

TarnShellHome::TarnShellHome() {
    if (const char* home = std::getenv("HOME"))
        previousHome_ = home;
    QFile rc(folder_.filePath(QStringLiteral(".zshrc")));
    if (rc.open(QIODevice::WriteOnly)) {
        rc.write("PS1='");
        rc.write(prompt);
        rc.write("'\nunsetopt PROMPT_SP\nPATH=/usr/bin:/bin\n");
    }
    setenv("HOME", path().c_str(), 1);
}

TarnShellHome::~TarnShellHome() {
    if (previousHome_)
        setenv("HOME", previousHome_->c_str(), 1);
    else
        unsetenv("HOME");
}

void ensureTerminalTestApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "tarnhold-terminal-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}
