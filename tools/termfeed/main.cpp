// termfeed: feeds a file (or standard input) into a terminal of a given size and prints the
// screen, cursor, title and main modes; with --time, reports how long the feed took.

#include "ScreenReport.h"

#include "engine/terminal/Terminal.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Options {
    int cols = 80;
    int rows = 25;
    int scrollback = 500;
    int repeat = 1;
    bool time = false;
    bool quiet = false;
    std::string path; // empty: standard input
};

// Replies go nowhere: there is no program to answer.
class DiscardingDelegate : public brevlin::TerminalDelegate {
public:
    void send(brevlin::Terminal&, std::span<const std::uint8_t>) override {}
};

void printUsage()
{
    std::cerr << "usage: termfeed [--cols N] [--rows N] [--scrollback N] [--time] [--repeat N] [--quiet] [FILE]\n"
                 "  Feeds FILE (or standard input) into a terminal and prints the screen rows, the cursor,\n"
                 "  the title and the main modes. --time reports the feed time and throughput; --repeat\n"
                 "  feeds the input N times; --quiet leaves out the screen report.\n";
}

bool parseArguments(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto number = [&](int& target) {
            if (i + 1 >= argc)
                return false;
            target = std::atoi(argv[++i]);
            return true;
        };
        if (argument == "--cols" || argument == "--rows" || argument == "--scrollback" || argument == "--repeat") {
            int& target = argument == "--cols" ? options.cols
                : argument == "--rows"        ? options.rows
                : argument == "--scrollback"  ? options.scrollback
                                              : options.repeat;
            if (!number(target))
                return false;
        } else if (argument == "--time") {
            options.time = true;
        } else if (argument == "--quiet") {
            options.quiet = true;
        } else if (argument == "--help" || argument == "-h" || (!argument.empty() && argument[0] == '-' && argument != "-")) {
            return false;
        } else {
            options.path = argument == "-" ? std::string() : argument;
        }
    }
    return options.repeat >= 1;
}

bool readInput(const Options& options, std::vector<std::uint8_t>& bytes)
{
    if (options.path.empty()) {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    std::ifstream file(options.path, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parseArguments(argc, argv, options)) {
        printUsage();
        return 2;
    }
    std::vector<std::uint8_t> input;
    if (!readInput(options, input)) {
        std::cerr << "termfeed: cannot read " << options.path << '\n';
        return 1;
    }

    DiscardingDelegate delegate;
    brevlin::Terminal terminal(&delegate,
        brevlin::TerminalOptions {.cols = options.cols, .rows = options.rows, .scrollback = options.scrollback});
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < options.repeat; ++i)
        terminal.feed(std::span<const std::uint8_t>(input));
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    if (!options.quiet)
        termfeed::printScreenReport(terminal, std::cout);
    if (options.time) {
        const double megabytes = static_cast<double>(input.size()) * options.repeat / 1e6;
        std::printf("fed %.3f MB in %.3f ms: %.1f MB/s\n", megabytes, elapsed.count() * 1e3,
            elapsed.count() > 0 ? megabytes / elapsed.count() : 0.0);
    }
    return 0;
}
