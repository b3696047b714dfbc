#include "engine/terminal/MouseReport.h"

#include <gtest/gtest.h>

#include <string>

namespace brevlin {
namespace {

Bytes bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

struct ReportCase {
    const char* name;
    MouseProtocolEncoding encoding;
    bool send8bit;
    int flags;
    int x;
    int y;
    int pixelX;
    int pixelY;
    std::optional<Bytes> expected;
    friend void PrintTo(const ReportCase& c, std::ostream* out) { *out << c.name; }
};

class MouseReports : public testing::TestWithParam<ReportCase> {};

TEST_P(MouseReports, EncodeTheReport)
{
    const ReportCase& c = GetParam();
    EXPECT_EQ(encodeMouseReport(c.encoding, CC {c.send8bit}, c.flags, c.x, c.y, c.pixelX, c.pixelY), c.expected);
}

using enum MouseProtocolEncoding;

INSTANTIATE_TEST_SUITE_P(Encodings, MouseReports,
    testing::Values(
        ReportCase {"X10LeftPress", x10, false, 0, 0, 0, 0, 0, Bytes {0x1B, '[', 'M', 32, 33, 33}},
        ReportCase {"X10EightBit", x10, true, 0, 0, 0, 0, 0, Bytes {0x9B, 'M', 32, 33, 33}},
        ReportCase {"X10LastReportableColumn", x10, false, 0, 222, 0, 0, 0, Bytes {0x1B, '[', 'M', 32, 255, 33}},
        ReportCase {"X10PastTheLimitIsDropped", x10, false, 0, 223, 0, 0, 0, std::nullopt},
        ReportCase {"SgrPress", sgr, false, 0, 0, 0, 0, 0, bytes("\x1b[<0;1;1M")},
        ReportCase {"SgrRelease", sgr, false, 3, 0, 0, 0, 0, bytes("\x1b[<0;1;1m")},
        ReportCase {"SgrReleaseWithControl", sgr, false, 19, 9, 4, 0, 0, bytes("\x1b[<16;10;5m")},
        ReportCase {"UrxvtWheelUp", urxvt, false, 64, 4, 2, 0, 0, bytes("\x1b[96;5;3M")},
        ReportCase {"SgrPixelSendsPixelsUnchanged", sgrPixel, false, 0, 3, 3, 120, 48, bytes("\x1b[<0;120;48M")},
        ReportCase {"Utf8TwoByteColumn", utf8, false, 0, 200, 0, 0, 0, Bytes {0x1B, '[', 'M', 32, 0xC3, 0xA9, 33}},
        // 127 is one byte in UTF-8, never the overlong 0xC1 0xBF.
        ReportCase {"Utf8ValueOf127", utf8, false, 0, 94, 0, 0, 0, Bytes {0x1B, '[', 'M', 32, 0x7F, 33}},
        ReportCase {"Utf8LastValue", utf8, false, 0, 2014, 0, 0, 0, Bytes {0x1B, '[', 'M', 32, 0xDF, 0xBF, 33}},
        ReportCase {"Utf8PastTheLimitIsDropped", utf8, false, 0, 2015, 0, 0, 0, std::nullopt}),
    [](const testing::TestParamInfo<ReportCase>& info) { return info.param.name; });

TEST(MouseButtons, ModifiersCountOnlyInModesThatReportThem)
{
    const MouseModifiers shift {.shift = true};
    EXPECT_EQ(encodeMouseButton(MouseMode::x10, 1, MouseButtonAction::press, shift), 1);
    EXPECT_EQ(encodeMouseButton(MouseMode::vt200, 1, MouseButtonAction::press, shift), 5);
    EXPECT_EQ(encodeMouseButton(MouseMode::vt200, 1, MouseButtonAction::release, {.control = true}), 19);
    EXPECT_EQ(encodeMouseButton(MouseMode::anyEvent, 5, MouseButtonAction::press, {.meta = true}), 65 | 8);
    EXPECT_EQ(encodeMouseButton(MouseMode::anyEvent, 3, MouseButtonAction::press, {}), 0);
}

} // namespace
} // namespace brevlin
