#include "engine/terminal/HeadlessTerminal.h"

#include "TerminalTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace brevlin {
namespace {

// Runs one shell script in a headless terminal and waits for it to end; the terminal is read
// only after the end, when no more output can arrive.
class HeadlessRun {
public:
    explicit HeadlessRun(const std::string& script, TerminalOptions options = {})
        : headless_(nullptr, options, [this](std::optional<std::int32_t> code) { ended_.set_value(code); })
    {
        started = headless_.process().startProcess("/bin/sh", {"-c", script});
    }

    std::optional<std::int32_t> waitForEnd()
    {
        auto future = ended_.get_future();
        if (future.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            ADD_FAILURE() << "the child did not end";
            return std::nullopt;
        }
        return future.get();
    }

    HeadlessTerminal& headless() { return headless_; }
    bool started = false;

private:
    std::promise<std::optional<std::int32_t>> ended_;
    HeadlessTerminal headless_;
};

TEST(HeadlessTerminal, WritesRepliesBackToTheProgram)
{
    HeadlessRun run("stty raw -echo; printf '\\033[6n'; reply=$(dd bs=1 count=6 2>/dev/null); "
                    "printf '%s' \"$reply\" | od -An -tx1");
    ASSERT_TRUE(run.started);
    run.waitForEnd();
    EXPECT_NE(testing_support::rowText(run.headless().terminal(), run.headless().terminal().buffer(), 0).find("1b 5b 31 3b 31 52"),
        std::string::npos);
}

TEST(HeadlessTerminal, TracksTitleAndDirectory)
{
    HeadlessRun run("printf '\\033]0;hello\\007\\033]7;file:///tmp\\007'");
    ASSERT_TRUE(run.started);
    run.waitForEnd();
    EXPECT_EQ(run.headless().terminal().terminalTitle, "hello");
    EXPECT_EQ(run.headless().dir(), "file:///tmp");
}

TEST(HeadlessTerminal, ReportsTheExitStatus)
{
    HeadlessRun run("exit 3");
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.waitForEnd(), 3);
}

TEST(HeadlessTerminal, GivesTheProgramTheTerminalSize)
{
    HeadlessRun run("stty size", TerminalOptions {.cols = 80, .rows = 25});
    ASSERT_TRUE(run.started);
    run.waitForEnd();
    EXPECT_EQ(testing_support::rowText(run.headless().terminal(), run.headless().terminal().buffer(), 0), "25 80");
    const winsize size = run.headless().getWindowSize();
    EXPECT_EQ(size.ws_xpixel, 16);
    EXPECT_EQ(size.ws_ypixel, 16);
}

TEST(HeadlessTerminal, ClampsAWindowSizePastSixteenBits)
{
    HeadlessTerminal headless(nullptr, TerminalOptions {.cols = 70000, .rows = 1, .scrollback = 0});
    EXPECT_EQ(headless.getWindowSize().ws_col, 0xFFFF);
}

} // namespace
} // namespace brevlin
