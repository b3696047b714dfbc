#pragma once

#include "sessions/terminal/TarnTerminalSessionRegistry.h"

#include "tests/support/terminals/TarnShellHome.h"

#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>
#include <map>

// A registry whose reports are recorded, with a clock the test moves, over real shells.
inline constexpr int patienceMs = 30'000;
inline const TarnUUID firstClient = TarnUUID::random();
inline const TarnUUID secondClient = TarnUUID::random();

class TarnTerminalSessionRegistryTest : public testing::Test {
protected:
    struct Closed {
        TarnUUID sessionID;
        std::optional<int32_t> exitCode;
        std::size_t outputBefore;
    };
    struct Replay {
        TarnUUID sessionID;
        std::string bytes;
        TarnUUID owner;
        std::size_t outputBefore;
    };

    TarnTerminalSessionRegistryTest() { ensureTerminalTestApplication(); }

    void makeRegistry(TarnTerminalRegistrySettings settings = {}) {
        TarnTerminalRegistryCallbacks callbacks{
            [this](const TarnUUID& id, const std::string& bytes) { output[id] += bytes; },
            [this](const TarnUUID& id, const std::string& bytes, const TarnUUID& owner) {
                replays.push_back({id, bytes, owner, output[id].size()});
            },
            [this](const TarnUUID& id, std::optional<int32_t> exitCode) {
                closed.push_back({id, exitCode, output[id].size()});
            },
        };
        registry = std::make_unique<TarnTerminalSessionRegistry>(context, settings, std::move(callbacks),
                                                                 [this] { return now; });
    }

    TarnTerminalOpenResult openResult(std::int64_t cols, std::int64_t rows,
                                      const std::optional<std::string>& shell = std::nullopt,
                                      const TarnUUID& owner = firstClient) {
        std::optional<TarnTerminalOpenResult> result;
        registry->open(cols, rows, shell, owner, [&](TarnTerminalOpenResult r) { result = r; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, patienceMs));
        return result.value_or(TarnTerminalError::startFailed);
    }

    TarnUUID open(std::int64_t cols = 80, std::int64_t rows = 24,
                  const std::optional<std::string>& shell = std::nullopt, const TarnUUID& owner = firstClient) {
        auto result = openResult(cols, rows, shell, owner);
        EXPECT_TRUE(std::holds_alternative<TarnWireTerminalOpened>(result));
        return std::holds_alternative<TarnWireTerminalOpened>(result) ? std::get<TarnWireTerminalOpened>(result).sessionID
                                                                       : TarnUUID{};
    }

    std::vector<TarnWireTerminalSessionInfo> list() {
        std::optional<std::vector<TarnWireTerminalSessionInfo>> sessions;
        registry->list([&](std::vector<TarnWireTerminalSessionInfo> s) { sessions = std::move(s); });
        EXPECT_TRUE(QTest::qWaitFor([&] { return sessions.has_value(); }, patienceMs));
        return sessions.value_or(std::vector<TarnWireTerminalSessionInfo>{});
    }

    void type(const TarnUUID& id, const std::string& text) { registry->input(id, text, [](TarnTerminalInputResult) {}); }

    bool waitForOutput(const TarnUUID& id, const std::string& needle) {
        return QTest::qWaitFor([&] { return output[id].find(needle) != std::string::npos; }, patienceMs);
    }
    bool waitForPrompt(const TarnUUID& id) { return waitForOutput(id, TarnShellHome::prompt); }

    bool waitForClosed(const TarnUUID& id) {
        return QTest::qWaitFor([&] { return closedEntry(id) != nullptr; }, patienceMs);
    }
    const Closed* closedEntry(const TarnUUID& id) const {
        auto found = std::find_if(closed.begin(), closed.end(), [&](const Closed& c) { return c.sessionID == id; });
        return found == closed.end() ? nullptr : &*found;
    }

    TarnShellHome home;
    QObject context;
    TarnDate now = TarnDate(800'000'000);
    std::map<TarnUUID, std::string> output;
    std::vector<Closed> closed;
    std::vector<Replay> replays;
    std::unique_ptr<TarnTerminalSessionRegistry> registry; // last: goes first
};

