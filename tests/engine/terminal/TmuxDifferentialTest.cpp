#include "TerminalTestSupport.h"
#include "TmuxServer.h"

#include "engine/terminal/CharSets.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace brevlin {
namespace {

using testing_support::TmuxServer;

const std::string esc = "\x1b";
const std::string csi = "\x1b[";

// A small deterministic generator, so a failing stream can be rebuilt exactly.
class Lcg {
public:
    explicit Lcg(unsigned seed)
        : state_(seed)
    {
    }
    int next(int bound)
    {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) % static_cast<unsigned>(bound));
    }

private:
    unsigned state_;
};

std::string numberedLines(int count, int width)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        std::string line = "line " + std::to_string(i) + ":";
        while (static_cast<int>(line.size()) < width)
            line += static_cast<char>('a' + (line.size() + static_cast<std::size_t>(i)) % 26);
        out += line + "\r\n";
    }
    return out;
}

std::string cjkLines()
{
    const std::string words[] = {"\u4e2d\u6587", "\u65e5\u672c\u8a9e", "\ud55c\uad6d\uc5b4", "x", "ab"};
    std::string out;
    Lcg random(7);
    for (int line = 0; line < 30; ++line) {
        for (int word = 0; word < 30; ++word)
            out += words[random.next(5)];
        out += "\r\n";
    }
    return out;
}

std::string cursorMotionRedraw()
{
    std::string out = csi + "2J";
    Lcg random(42);
    // No HPR or VPR (CSI a, CSI e): tmux ignores them.
    const std::string moves[] = {"A", "B", "C", "D", "E", "F", "G", "d", "`"};
    for (int step = 0; step < 600; ++step) {
        switch (random.next(4)) {
        case 0:
            out += csi + std::to_string(random.next(27)) + ";" + std::to_string(random.next(82)) + "H";
            break;
        case 1:
            out += csi + std::to_string(random.next(30)) + moves[random.next(9)];
            break;
        default:
            out += std::string(static_cast<std::size_t>(random.next(12)), static_cast<char>('A' + random.next(26)));
            break;
        }
    }
    return out;
}

std::string erasing()
{
    std::string out = numberedLines(25, 79);
    Lcg random(3);
    const std::string erases[] = {"J", "1J", "K", "1K", "2K", "X", "5X"};
    for (int step = 0; step < 40; ++step)
        out += csi + std::to_string(1 + random.next(25)) + ";" + std::to_string(1 + random.next(80)) + "H" + csi + erases[random.next(7)]
            + "#";
    return out;
}

std::string insertingAndDeleting()
{
    std::string out = numberedLines(25, 70);
    Lcg random(11);
    const std::string edits[] = {"@", "P", "L", "M", "3@", "4P", "2L", "2M"};
    for (int step = 0; step < 60; ++step) {
        // Once a region is set, lines are inserted and deleted inside it only: tmux also edits
        // below the region, where IL and DL do nothing.
        const bool inRegion = step >= 30;
        if (step == 30)
            out += csi + "5;20r";
        const int row = inRegion ? 5 + random.next(16) : 1 + random.next(25);
        out += csi + std::to_string(row) + ";" + std::to_string(1 + random.next(80)) + "H" + csi + edits[random.next(8)] + "*";
    }
    return out;
}

std::string scrollRegions()
{
    std::string out = numberedLines(25, 30) + csi + "5;15r" + csi + "15H";
    for (int i = 0; i < 8; ++i)
        out += "down " + std::to_string(i) + "\r\n";
    out += csi + "5H";
    for (int i = 0; i < 4; ++i)
        out += esc + "Mup" + std::to_string(i);
    out += csi + "3S" + csi + "2T" + csi + "r" + csi + "25H\n\nend";
    return out;
}

std::string tabs()
{
    // Left out: a tab at a pending wrap (tmux keeps the pending wrap, we move to the last
    // column) and CHT, CSI I (tmux ignores it).
    return "a\tb\tc\td\r\n" + csi + "3g" + csi + "20G" + esc + "H" + csi + "40G" + esc + "H\r\n\ty\tz\t\tv" + csi
        + "2Zw\r\n" + csi + "20G" + csi + "0g\r\n\tq";
}

std::string modes()
{
    std::string out = csi + "?7l" + std::string(100, 'n') + "\r\n" + csi + "?7h" + std::string(100, 'w') + "\r\n";
    out += csi + "4hINSERT" + csi + "4l" + "\r\n" + "abcdef\r" + csi + "4hXY" + csi + "4l\r\n";
    out += csi + "10;20r" + csi + "?6h" + csi + "1;1Horigin" + csi + "?6l" + csi + "r";
    out += esc + "7" + csi + "22;5Hsaved" + esc + "8restored";
    return out;
}

std::string alternateScreen()
{
    return numberedLines(10, 40) + csi + "?1049h" + csi + "HALT SCREEN" + csi + "5;5Hx" + csi + "?1049lback";
}

std::string lineDrawing()
{
    return esc + "(0lqqqqk\r\nx    x\r\nmqqqqj" + esc + "(B plain\r\n" + esc + ")0\x0elqk\x0f lqk";
}

std::string colouredText()
{
    std::string out;
    Lcg random(5);
    for (int i = 0; i < 400; ++i)
        out += csi + std::to_string(30 + random.next(8)) + ";" + std::to_string(40 + random.next(8)) + "m" + "word" + std::to_string(i)
            + csi + "0m ";
    return out;
}

std::string controls()
{
    return "abc\b\bX\r\nline\rLINE\r\n\b\bstart\r\n" + std::string(85, '=') + "\b\b<<\r\n" + "tail" + csi + "3b" + "\r\n" + esc
        + "#8";
}

// tmux's capture shows a line-drawing cell as the byte that selected it ("q"), where our cell
// holds the drawing character itself ("\u2500"); such rows are compared as tmux shows them.
enum class Shown { asText, decGraphicsLetters };

std::vector<std::string> asDecGraphicsLetters(std::vector<std::string> rows)
{
    for (const auto& [letter, drawing] : CharSets::all().at('0')) {
        for (std::string& row : rows) {
            for (std::size_t at = row.find(drawing); at != std::string::npos; at = row.find(drawing, at + 1))
                row.replace(at, drawing.size(), 1, static_cast<char>(letter));
        }
    }
    return rows;
}

struct DifferentialCase {
    const char* name;
    std::string (*make)();
    Shown shownAs = Shown::asText;

    friend void PrintTo(const DifferentialCase& c, std::ostream* out) { *out << c.name; }
};

class TmuxDifferential : public testing::TestWithParam<DifferentialCase> {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/tarnhold-termdiff-XXXXXX";
        folder_ = mkdtemp(pattern);
        server_ = std::make_unique<TmuxServer>();
    }
    static void TearDownTestSuite()
    {
        server_.reset();
        std::filesystem::remove_all(folder_);
    }

    static inline std::unique_ptr<TmuxServer> server_;
    static inline std::string folder_;
};

TEST_P(TmuxDifferential, ShowsTheSameTextAndCursorAsTmux)
{
    constexpr int cols = 80;
    constexpr int rows = 25;
    const std::string stream = GetParam().make();
    const std::string path = folder_ + "/" + GetParam().name;
    std::ofstream(path, std::ios::binary) << stream;

    const TmuxServer::Pane pane = server_->show(path, cols, rows);

    testing_support::RecordingDelegate delegate;
    Terminal terminal(&delegate, TerminalOptions {.cols = cols, .rows = rows});
    terminal.feed(stream);
    std::vector<std::string> ours = testing_support::screenRows(terminal);
    if (GetParam().shownAs == Shown::decGraphicsLetters)
        ours = asDecGraphicsLetters(ours);
    EXPECT_EQ(ours, pane.rows);
    EXPECT_EQ(terminal.getCursorLocation(), pane.cursor);
}

INSTANTIATE_TEST_SUITE_P(Streams, TmuxDifferential,
    testing::Values(DifferentialCase {"PlainLines", [] { return numberedLines(60, 50); }},
        DifferentialCase {"WrappingLines", [] { return numberedLines(30, 190); }},
        DifferentialCase {"WideCharactersAtTheEdge", cjkLines},
        DifferentialCase {"CursorMotionRedraw", cursorMotionRedraw},
        DifferentialCase {"Erasing", erasing},
        DifferentialCase {"InsertingAndDeleting", insertingAndDeleting},
        DifferentialCase {"ScrollRegions", scrollRegions},
        DifferentialCase {"Tabs", tabs},
        DifferentialCase {"Modes", modes},
        DifferentialCase {"AlternateScreen", alternateScreen},
        DifferentialCase {"LineDrawing", lineDrawing, Shown::decGraphicsLetters},
        DifferentialCase {"ColouredText", colouredText},
        DifferentialCase {"Controls", controls}),
    [](const testing::TestParamInfo<DifferentialCase>& info) { return info.param.name; });

} // namespace
} // namespace brevlin
