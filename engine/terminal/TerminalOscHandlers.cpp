#include "engine/terminal/Terminal.h"

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

namespace brevlin {

namespace {

std::string asString(ByteSpan data) { return std::string(data.begin(), data.end()); }

bool processTrusted(Terminal& terminal)
{
    return terminal.delegate() != nullptr && terminal.delegate()->isProcessTrusted(terminal);
}

} // namespace

void Terminal::oscSetCurrentDirectory(ByteSpan data)
{
    if (!processTrusted(*this))
        return;
    hostCurrentDirectory = asString(data);
    tdel->hostCurrentDirectoryUpdated(*this);
}

void Terminal::oscSetCurrentDocument(ByteSpan data)
{
    if (!processTrusted(*this))
        return;
    hostCurrentDocument = asString(data);
    tdel->hostCurrentDocumentUpdated(*this);
}

std::optional<ProgressReport> Terminal::parseProgressReport(ByteSpan data) const
{
    for (std::uint8_t byte : data)
        if (byte >= 0x80)
            return std::nullopt;
    const std::string text = asString(data);
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t separator = text.find(';', start);
        parts.emplace_back(std::string_view(text).substr(start, separator == std::string::npos ? std::string::npos : separator - start));
        if (separator == std::string::npos)
            break;
        start = separator + 1;
    }
    if (parts.size() < 2 || parts[0] != "4" || parts[1].size() != 1 || parts[1][0] < '0' || parts[1][0] > '9')
        return std::nullopt;
    const std::optional<ProgressReportState> state = progressReportStateFromRaw(parts[1][0] - '0');
    if (!state)
        return std::nullopt;
    ProgressReport report {*state, std::nullopt};
    if (parts.size() < 3 || parts[2].empty()) {
        if (*state == ProgressReportState::set)
            report.progress = 0;
        return report;
    }
    std::string_view number = parts[2];
    const bool negative = !number.empty() && (number[0] == '-' || number[0] == '+') ? number[0] == '-' : false;
    if (!number.empty() && (number[0] == '-' || number[0] == '+'))
        number.remove_prefix(1);
    if (number.empty())
        return std::nullopt;
    long long value = 0;
    for (char digit : number) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        value = std::min(value * 10 + (digit - '0'), 1000LL);
    }
    if (negative)
        value = 0;
    if (*state != ProgressReportState::remove)
        report.progress = static_cast<std::uint8_t>(std::min(value, 100LL));
    return report;
}

// Sequences the dispatcher routes but whose effects are not built yet: they are accepted and
// dropped without a reply, as a terminal that ignores them would.
void Terminal::oscChangeOrQueryColorIndex(ByteSpan) {}
void Terminal::oscHyperlink(ByteSpan) {}
void Terminal::oscSetColors(ByteSpan, int) {}
void Terminal::oscClipboard(ByteSpan) {}
void Terminal::oscResetColor(ByteSpan) {}
void Terminal::oscNotification(ByteSpan) {}
void Terminal::osciTerm2(ByteSpan) {}
void Terminal::handleKittyGraphics(ByteSpan) {}
std::unique_ptr<DcsHandler> Terminal::makeSixelHandler() { return nullptr; }
std::unique_ptr<DcsHandler> Terminal::makeDecrqssHandler() { return nullptr; }
void Terminal::cmdWindowOptions(const Params&) {}
bool Terminal::handleKittyKeyboardProtocol(const Params&, const Collect&) { return false; }
void Terminal::csiCopyRectangularArea(const Params&, const Collect&) {}
void Terminal::csiX(const Params&, const Collect&) {}
void Terminal::cmdDECRQCRA(const Params&) {}
void Terminal::csiZ(const Params&, const Collect&) {}
void Terminal::csiOpenBrace(const Params&, const Collect&) {}
void Terminal::csiCloseBrace(const Params&, const Collect&) {}

} // namespace brevlin
