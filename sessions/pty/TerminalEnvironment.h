#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class TrueColor { off, on };

// The default environment of a terminal child: a fixed terminal description plus the few
// variables of the host that identify the user. PATH is left out on purpose: a login shell
// sets its own.
class TerminalEnvironment {
public:
    using Lookup = std::function<const char*(const char* name)>;

    static std::vector<std::string> variables(const std::optional<std::string>& termName, TrueColor trueColor);
    static std::vector<std::string> variables(const std::optional<std::string>& termName, TrueColor trueColor,
                                              const Lookup& hostVariable);
};
