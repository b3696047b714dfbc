#include "engine/terminal/Terminal.h"

#include "engine/buffer/Utf8.h"

#include <algorithm>
#include <cstdio>

namespace brevlin {

Terminal::Terminal(TerminalDelegate* delegate, TerminalOptions initialOptions, TerminalExecutor* executor)
    : options(std::move(initialOptions))
    , tdel(delegate)
    , executor_(executor)
    , self_(std::make_shared<Terminal*>(this))
{
    installedColors.assign(Color::terminalAppColors.begin(), Color::terminalAppColors.end());
    rebuildAnsiPalette(false);

    parser = std::make_unique<EscapeSequenceParser>(this);
    configureParser(*parser);

    normalBuffer_ = makeNormalBuffer();
    altBuffer_ = std::make_unique<Buffer>(cols, rows, tabStopWidth, std::nullopt);
    altBuffer_->fillViewportRows();
    installScrollCallback(*altBuffer_);
    altBuffer_->setupTabStops(-1, tabStopWidth);
    buffer_ = normalBuffer_.get();
    blankLine_ = std::make_unique<BufferLine>(0);
    setup(ResetKind::powerOn);
}

Terminal::~Terminal() { *self_ = nullptr; }

std::unique_ptr<Buffer> Terminal::makeNormalBuffer()
{
    auto result = std::make_unique<Buffer>(cols, rows, tabStopWidth, std::max(options.scrollback, 0));
    result->fillViewportRows();
    installScrollCallback(*result);
    result->setupTabStops(-1, tabStopWidth);
    return result;
}

void Terminal::installScrollCallback(Buffer& target)
{
    target.scroll = [this](LineWrap wrap) { scroll(wrap); };
}

void Terminal::setup(ResetKind kind)
{
    cols = std::max(options.cols, MINIMUM_COLS);
    rows = std::max(options.rows, MINIMUM_ROWS);
    if (kind == ResetKind::reset) {
        resetNormalBuffer();
        activateNormalBuffer(AlternateContents::keep);
    } else {
        normalBuffer_->resize(cols, rows);
        altBuffer_->resize(cols, rows);
    }

    cursorHidden = false;
    applicationKeypad = false;
    applicationCursor = false;
    originMode = false;
    marginMode = false;
    insertMode = false;
    bracketedPasteMode = false;
    wraparound = true;
    for (Buffer* each : {normalBuffer_.get(), altBuffer_.get()}) {
        each->marginMode = false;
        each->insertMode = false;
        each->wraparound = true;
    }
    keyboardModeNormal = {};
    keyboardModeAlt = {};

    gCharsets = {};
    charset = gCharsets[0];
    gcharset = 0;
    gLevel = 0;
    curAttr = Attribute();
    setMouseMode(MouseMode::off);

    buffer_->setScrollTop(0);
    buffer_->setScrollBottom(rows - 1);
    buffer_->marginLeft = 0;
    buffer_->marginRight = cols - 1;

    cc.send8bit = false;
    conformance = TerminalConformance::vt500;
    allow80To132 = true;
    xtermTitleSetUtf = false;
    xtermTitleSetHex = false;
    xtermTitleQueryUtf = false;
    xtermTitleQueryHex = false;
    hyperLinkTracking.reset();
    cursorBlink = false;
    hostCurrentDirectory.reset();
    lineFeedMode = options.convertEol;
}

void Terminal::resetNormalBuffer()
{
    const bool wasActive = buffer_ == normalBuffer_.get();
    normalBuffer_ = makeNormalBuffer();
    if (wasActive)
        buffer_ = normalBuffer_.get();
    lastPrintedCode_ = unknownCode;
}

void Terminal::activateAltBuffer(std::optional<Attribute> fillAttr)
{
    if (buffer_ == altBuffer_.get())
        return;
    if (normalBuffer_->x() >= 0)
        altBuffer_->setX(normalBuffer_->x());
    if (normalBuffer_->y() >= 0)
        altBuffer_->setY(normalBuffer_->y());
    altBuffer_->fillViewportRows(fillAttr);
    buffer_ = altBuffer_.get();
    lastPrintedCode_ = unknownCode;
}

void Terminal::activateNormalBuffer(AlternateContents alternate)
{
    if (buffer_ == normalBuffer_.get())
        return;
    normalBuffer_->setX(altBuffer_->x());
    normalBuffer_->setY(altBuffer_->y());
    if (alternate == AlternateContents::clear)
        altBuffer_->clear();
    buffer_ = normalBuffer_.get();
    lastPrintedCode_ = unknownCode;
}

std::uint8_t Terminal::keyboardEnhancementFlags() const
{
    return isCurrentBufferAlternate() ? keyboardModeAlt.flags : keyboardModeNormal.flags;
}

void Terminal::rebuildAnsiPalette(bool notifyDelegate)
{
    if (options.ansi256PaletteStrategy == Ansi256PaletteStrategy::base16Lab)
        ansiColors = Color::generateBase16LabPalette(installedColors, backgroundColor_, foregroundColor_);
    else
        ansiColors = Color::generateXtermPalette(installedColors);
    defaultAnsiColors = ansiColors;
    if (notifyDelegate && tdel != nullptr)
        tdel->colorChanged(*this, std::nullopt);
}

void Terminal::setAnsi256PaletteStrategy(Ansi256PaletteStrategy strategy)
{
    if (strategy == options.ansi256PaletteStrategy)
        return;
    options.ansi256PaletteStrategy = strategy;
    rebuildAnsiPalette(true);
}

void Terminal::installPalette(std::span<const Color> colors)
{
    if (colors.size() != 16)
        return;
    installedColors.assign(colors.begin(), colors.end());
    rebuildAnsiPalette(false);
}

// The delegate's defaults store the colour again; the guard ends that loop after one call.
void Terminal::setForegroundColor(const Color& color)
{
    foregroundColor_ = color;
    if (settingFgColor_)
        return;
    settingFgColor_ = true;
    if (tdel != nullptr)
        tdel->setForegroundColor(*this, foregroundColor_);
    settingFgColor_ = false;
    if (options.ansi256PaletteStrategy == Ansi256PaletteStrategy::base16Lab)
        rebuildAnsiPalette(true);
}

void Terminal::setBackgroundColor(const Color& color)
{
    backgroundColor_ = color;
    if (settingBgColor_)
        return;
    settingBgColor_ = true;
    if (tdel != nullptr)
        tdel->setBackgroundColor(*this, backgroundColor_);
    settingBgColor_ = false;
    if (options.ansi256PaletteStrategy == Ansi256PaletteStrategy::base16Lab)
        rebuildAnsiPalette(true);
}

void Terminal::setCursorColor(const std::optional<Color>& color)
{
    cursorColor_ = color;
    if (settingCursorColor_)
        return;
    settingCursorColor_ = true;
    if (tdel != nullptr)
        tdel->setCursorColor(*this, cursorColor_);
    settingCursorColor_ = false;
}

const BufferLine* Terminal::getLine(int row) const
{
    if (row < 0 || row >= rows)
        return nullptr;
    const int index = row + buffer_->yDisp();
    if (index < 0 || index >= buffer_->lines.count())
        return nullptr;
    return &buffer_->lines[index];
}

const BufferLine* Terminal::getScrollInvariantLine(int row) const
{
    const int index = row - buffer_->linesTop;
    if (index < 0 || index >= buffer_->lines.count())
        return nullptr;
    return &buffer_->lines[index];
}

std::optional<CharData> Terminal::getCharData(int col, int row) const
{
    if (col < 0 || col >= cols)
        return std::nullopt;
    const BufferLine* line = getLine(row);
    if (line == nullptr || line->count() == 0)
        return std::nullopt;
    return (*line)[col];
}

std::optional<std::u32string> Terminal::getCharacter(int col, int row) const
{
    std::optional<CharData> cell = getCharData(col, row);
    if (!cell)
        return std::nullopt;
    return character(cell->code);
}

std::string Terminal::cellText(const CharData& cell) const
{
    std::string out;
    for (char32_t scalar : character(cell.code))
        appendUtf8(out, scalar);
    return out;
}

void Terminal::setTerminalFocus(bool focused)
{
    if (!sendFocus)
        return;
    Bytes reply = cc.csi();
    reply.push_back(focused ? 'I' : 'O');
    sendResponse(reply);
}

void Terminal::showCursor()
{
    if (!cursorHidden)
        return;
    cursorHidden = false;
    if (tdel != nullptr)
        tdel->showCursor(*this);
}

void Terminal::hideCursor()
{
    if (cursorHidden)
        return;
    cursorHidden = true;
    if (tdel != nullptr)
        tdel->hideCursor(*this);
}

void Terminal::setMouseMode(MouseMode mode)
{
    mouseMode_ = mode;
    if (tdel != nullptr)
        tdel->mouseModeChanged(*this);
}

void Terminal::setTitle(const std::string& text)
{
    terminalTitle = text;
    if (tdel != nullptr)
        tdel->setTerminalTitle(*this, text);
}

void Terminal::setIconTitle(const std::string& text)
{
    iconTitle = text;
    if (tdel != nullptr)
        tdel->setTerminalIconTitle(*this, text);
}

void Terminal::log(const std::string& line) const
{
    if (!silentLog)
        std::printf("Info: %s\n", line.c_str());
}

} // namespace brevlin
