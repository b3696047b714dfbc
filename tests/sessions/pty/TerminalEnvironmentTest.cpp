#include "sessions/pty/TerminalEnvironment.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(TerminalEnvironment, PutsTheTerminalFirstThenTheHostsIdentityInOrder) {
    std::map<std::string, std::string> host{{"HOME", "/home/ann"}, {"LC_CTYPE", "C.UTF-8"}, {"USER", "ann"},
                                            {"PATH", "/usr/bin"},  {"SHELL", "/bin/zsh"},  {"DISPLAY", ":1"}};
    auto lookup = [&](const char* name) -> const char* {
        auto found = host.find(name);
        return found == host.end() ? nullptr : found->second.c_str();
    };
    EXPECT_EQ(TerminalEnvironment::variables(std::nullopt, TrueColor::on, lookup),
              (std::vector<std::string>{"TERM=xterm-256color", "COLORTERM=truecolor", "LANG=en_US.UTF-8", "USER=ann",
                                        "DISPLAY=:1", "LC_CTYPE=C.UTF-8", "HOME=/home/ann"}));
    EXPECT_EQ(TerminalEnvironment::variables("vt100", TrueColor::off, [](const char*) { return nullptr; }),
              (std::vector<std::string>{"TERM=vt100", "LANG=en_US.UTF-8"}));
}

} // namespace
