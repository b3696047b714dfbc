#pragma once

#include <QTemporaryDir>

#include <optional>
#include <string>

// Points HOME at a private folder whose start-up files give zsh a plain prompt, so login shells
// in tests neither read the user's files nor stop at the first-run menu. Restores HOME after.
class TarnShellHome {
public:
    static constexpr const char* prompt = "tarn$ ";

    TarnShellHome();
    ~TarnShellHome();
    TarnShellHome(const TarnShellHome&) = delete;
    TarnShellHome& operator=(const TarnShellHome&) = delete;

    std::string path() const { return folder_.path().toStdString(); }

private:
    QTemporaryDir folder_;
    std::optional<std::string> previousHome_;
};

// Makes sure a QCoreApplication exists for the test process.
void ensureTerminalTestApplication();
