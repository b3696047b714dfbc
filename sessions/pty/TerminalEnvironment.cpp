#include "sessions/pty/TerminalEnvironment.h"

#include <array>
#include <cstdlib>

std::vector<std::string> TerminalEnvironment::variables(const std::optional<std::string>& termName,
                                                        TrueColor trueColor) {
    return variables(termName, trueColor, [](const char* name) { return std::getenv(name); });
}

std::vector<std::string> TerminalEnvironment::variables(const std::optional<std::string>& termName,
                                                        TrueColor trueColor, const Lookup& hostVariable) {
    std::vector<std::string> environment;
    environment.push_back("TERM=" + termName.value_or("xterm-256color"));
    if (trueColor == TrueColor::on)
        environment.emplace_back("COLORTERM=truecolor");
    environment.emplace_back("LANG=en_US.UTF-8");
    // LC_TYPE is kept for programs that look for it, LC_CTYPE is the variable locales actually read.
    static constexpr std::array copied{"LOGNAME", "USER", "DISPLAY", "LC_TYPE", "LC_CTYPE", "HOME"};
    for (const char* name : copied) {
        if (const char* value = hostVariable(name))
            environment.push_back(std::string(name) + "=" + value);
    }
    return environment;
}
