#pragma once

#include "engine/buffer/Attribute.h"
#include "engine/buffer/Buffer.h"
#include "engine/buffer/BufferLine.h"
#include "engine/buffer/CharData.h"
#include "engine/buffer/CharacterSetTable.h"
#include "engine/buffer/Color.h"
#include "engine/buffer/Position.h"
#include "engine/buffer/TinyAtomTable.h"
#include "engine/terminal/EscapeSequenceParser.h"
#include "engine/terminal/EscapeSequences.h"
#include "engine/terminal/GraphemeTable.h"
#include "engine/terminal/MouseReport.h"
#include "engine/terminal/TerminalDelegate.h"
#include "engine/terminal/TerminalExecutor.h"
#include "engine/terminal/TerminalOptions.h"
#include "engine/terminal/TerminalTypes.h"
#include "engine/terminal/WidthCache.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brevlin {

enum class ResetKind { powerOn, reset };
enum class CursorColumnLimit { lastColumn, pendingWrap };
// What leaving the alternate screen does to its contents.
enum class AlternateContents { keep, clear };
enum class ModeFamily { ansi, decPrivate };
enum class ModeSwitch { reset, set };

// The emulator core: two screens, the parser that drives them, every mode flag and the replies.
// Not thread-safe and takes no locks: drive it from one thread (feeds, reads and time-outs alike).
class Terminal {
public:
    static constexpr int MINIMUM_COLS = 2;
    static constexpr int MINIMUM_ROWS = 1;

    struct KeyboardModeState {
        std::uint8_t flags = 0;
        std::vector<std::uint8_t> stack;
    };

    struct HyperlinkTracking {
        Position start;
        std::string payload;
    };

    // The delegate is not owned; clear it with setDelegate(nullptr) before it goes away. The
    // executor, when given, runs the synchronized-output time-out; without one the time-out is
    // checked at each feed and by expireSynchronizedOutputIfDue().
    explicit Terminal(TerminalDelegate* delegate, TerminalOptions options = {}, TerminalExecutor* executor = nullptr);
    virtual ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // Construction and configuration.
    void setup(ResetKind kind);
    void setDelegate(TerminalDelegate* delegate) { tdel = delegate; }
    void setExecutor(TerminalExecutor* executor) { executor_ = executor; }
    TerminalDelegate* delegate() const { return tdel; }
    Ansi256PaletteStrategy ansi256PaletteStrategy() const { return options.ansi256PaletteStrategy; }
    void setAnsi256PaletteStrategy(Ansi256PaletteStrategy strategy);
    void installPalette(std::span<const Color> colors);
    const Color& foregroundColor() const { return foregroundColor_; }
    void setForegroundColor(const Color& color);
    const Color& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const Color& color);
    const std::optional<Color>& cursorColor() const { return cursorColor_; }
    void setCursorColor(const std::optional<Color>& color);

    // Reading the screen.
    Buffer& buffer() { return *buffer_; }
    const Buffer& buffer() const { return *buffer_; }
    Buffer& normalBuffer() { return *normalBuffer_; }
    Buffer& altBuffer() { return *altBuffer_; }
    bool isCurrentBufferAlternate() const { return buffer_ == altBuffer_.get(); }
    std::uint8_t keyboardEnhancementFlags() const;
    const Attribute& currentAttribute() const { return curAttr; }
    std::pair<int, int> getDims() const { return {cols, rows}; }
    std::pair<int, int> getCursorLocation() const { return {buffer_->x(), buffer_->y()}; }
    int getTopVisibleRow() const { return buffer_->yDisp(); }
    const BufferLine* getLine(int row) const;
    const BufferLine* getScrollInvariantLine(int row) const;
    std::optional<CharData> getCharData(int col, int row) const;
    std::optional<std::u32string> getCharacter(int col, int row) const;
    // The text a cell shows, as UTF-8 (interned codes resolved).
    std::string cellText(const CharData& cell) const;

    // Focus, cursor visibility, mouse.
    void setTerminalFocus(bool focused);
    void showCursor();
    void hideCursor();
    MouseMode mouseMode() const { return mouseMode_; }
    void setMouseMode(MouseMode mode);
    int encodeButton(int button, MouseButtonAction action, MouseModifiers modifiers) const;
    void sendEvent(int buttonFlags, int x, int y);
    void sendEvent(int buttonFlags, int x, int y, int pixelX, int pixelY);
    void sendMotion(int buttonFlags, int x, int y, int pixelX, int pixelY);

    // Feeding and replies.
    void feed(std::span<const std::uint8_t> buffer);
    void feed(const std::vector<std::uint8_t>& byteArray) { feed(std::span<const std::uint8_t>(byteArray)); }
    void feed(std::string_view text);
    void sendResponse(std::span<const std::uint8_t> bytes);
    void sendResponse(std::initializer_list<std::span<const std::uint8_t>> pieces);
    void sendResponse(std::string_view text);

    // Dirty rows.
    enum class RangeKind { content, scrolling };
    void updateRange(int y, RangeKind kind = RangeKind::content);
    void updateRange(const Buffer& buffer, int y, RangeKind kind);
    void refresh(int startRow, int endRow);
    void updateFullScreen();
    std::optional<std::pair<int, int>> getUpdateRange() const;
    std::optional<std::pair<int, int>> getScrollInvariantUpdateRange() const;
    void clearUpdateRange();
    void garbageCollectPayload();

    // Scrolling, index, reset, resize.
    void scroll(LineWrap wrap = LineWrap::unwrapped);
    void cmdIndex();
    void reverseIndex();
    enum class ColumnDirection { back, forward };
    void columnIndex(ColumnDirection direction);
    void columnScroll(ColumnDirection direction, int at);
    void cmdReset();
    void resetToInitialState();
    void resize(int newCols, int newRows);
    void resizeBuffers(int newColumns, int newRows);
    void changeScrollback(std::optional<int> scrollback);
    void changeHistorySize(std::optional<int> scrollback) { changeScrollback(scrollback); }

    // Synchronized output (mode 2026).
    bool synchronizedOutputActive() const { return synchronizedOutputActive_; }
    const Buffer& displayBuffer() const { return synchronizedOutputBuffer_ ? *synchronizedOutputBuffer_ : *buffer_; }
    bool isDisplayBufferAlternate() const;
    const Buffer* synchronizedOutputBuffer() const { return synchronizedOutputBuffer_.get(); }
    void expireSynchronizedOutputIfDue();
    std::chrono::milliseconds synchronizedOutputTimeout {1000};

    // Controls and cell codes.
    void cmdLineFeedBasic();
    void cmdCarriageReturn();
    void cmdBackspace();
    void emitLineFeed();
    void setgLevel(std::uint8_t level);
    void setgCharset(std::uint8_t slot, const CharacterSetTable* charset);
    std::int32_t code(std::u32string_view character) { return graphemes_.code(character); }
    std::u32string character(std::int32_t code) const { return graphemes_.character(code); }
    std::u32string getCharacter(const CharData& cell) const { return graphemes_.character(cell.code); }
    CharData makeCharData(const Attribute& attribute, std::int32_t code, int size) const;
    void updateCharData(CharData& cell, std::int32_t code, int size) const;

    // Titles.
    void setTitle(const std::string& text);
    void setIconTitle(const std::string& text);

    // Parser hookup.
    void registerOscHandler(std::int64_t code, EscapeSequenceParser::OscHandler handler);

    // Cursor placement.
    void restrictCursor(CursorColumnLimit limit = CursorColumnLimit::lastColumn);
    void setCursor(int col, int row);
    void cursorForward(std::int64_t count);
    void cursorBackward(std::int64_t count);
    void setCursorStyle(CursorStyle style);

    // Handlers reached from the dispatcher. Parameter lists are never empty.
    using Params = std::vector<std::int64_t>;
    using Collect = std::vector<std::uint8_t>;
    void cmdInsertChars(const Params& pars);
    void cmdCursorUp(const Params& pars);
    void cmdCursorDown(const Params& pars);
    void cmdCursorCharAbsolute(const Params& pars);
    void cmdCursorPosition(const Params& pars);
    void cmdEraseInDisplay(const Params& pars);
    void cmdEraseInLine(const Params& pars);
    void cmdInsertLines(const Params& pars);
    void cmdDeleteLines(const Params& pars);
    void cmdDeleteChars(const Params& pars);
    void cmdScrollUp(const Params& pars);
    void cmdScrollDown(const Params& pars);
    void cmdEraseChars(const Params& pars);
    void cmdCharPosAbsolute(const Params& pars);
    void cmdHPositionRelative(const Params& pars);
    void cmdRepeatPrecedingCharacter(const Params& pars);
    void cmdSendDeviceAttributes(const Params& pars, const Collect& collect);
    void cmdLinePosAbsolute(const Params& pars);
    void cmdVPositionRelative(const Params& pars);
    void cmdHVPosition(const Params& pars);
    void cmdTabClear(const Params& pars);
    void cmdSetMode(const Params& pars, const Collect& collect);
    void cmdResetMode(const Params& pars, const Collect& collect);
    void cmdCsiM(const Params& pars, const Collect& collect);
    void cmdDeviceStatus(const Params& pars, const Collect& collect);
    void csiPHandler(const Params& pars, const Collect& collect);
    void cmdSetCursorStyle(const Params& pars, const Collect& collect);
    void cmdSetScrollRegion(const Params& pars, const Collect& collect);
    void cmdSaveCursor();
    void cmdRestoreCursor();
    void cmdSetMargins(const Params& pars, const Collect& collect);
    void cmdWindowOptions(const Params& pars);
    // False when the sequence is not a kitty keyboard request.
    bool handleKittyKeyboardProtocol(const Params& pars, const Collect& collect);
    void csiCopyRectangularArea(const Params& pars, const Collect& collect);
    void csiX(const Params& pars, const Collect& collect);
    void cmdDECRQCRA(const Params& pars);
    void csiZ(const Params& pars, const Collect& collect);
    void csiOpenBrace(const Params& pars, const Collect& collect);
    void csiCloseBrace(const Params& pars, const Collect& collect);
    void cmdDeleteColumns(const Params& pars);
    void cmdTabSet();
    void selectCharset(std::uint8_t intermediate, std::uint8_t designator);
    void setLineRenderMode(BufferLine::RenderLineMode mode);
    void cmdScreenAlignmentPattern();
    void cmdSoftReset();
    void oscChangeOrQueryColorIndex(ByteSpan data);
    void oscSetCurrentDocument(ByteSpan data);
    void oscSetCurrentDirectory(ByteSpan data);
    void oscHyperlink(ByteSpan data);
    void oscSetColors(ByteSpan data, int startAt);
    void oscClipboard(ByteSpan data);
    void oscResetColor(ByteSpan data);
    void oscNotification(ByteSpan data);
    void osciTerm2(ByteSpan data);
    std::optional<ProgressReport> parseProgressReport(ByteSpan data) const;
    void handleKittyGraphics(ByteSpan content);
    std::unique_ptr<DcsHandler> makeSixelHandler();
    std::unique_ptr<DcsHandler> makeDecrqssHandler();
    // Prints one "Info: " line unless silentLog is set.
    void log(const std::string& line) const;

    // Fields the front end and the handlers read and write.
    int cols = 80;
    int rows = 25;
    int tabStopWidth = 8;
    TerminalOptions options;
    bool applicationKeypad = false;
    bool applicationCursor = false;
    KeyboardModeState keyboardModeNormal;
    KeyboardModeState keyboardModeAlt;
    bool sendFocus = false;
    bool cursorHidden = false;
    bool originMode = false;
    bool marginMode = false;
    bool insertMode = false;
    bool wraparound = false;
    bool bracketedPasteMode = false;
    const CharacterSetTable* charset = nullptr;
    std::array<const CharacterSetTable*, 4> gCharsets {};
    int gcharset = 0;
    bool reverseWraparound = false;
    Attribute curAttr;
    std::uint8_t gLevel = 0;
    bool cursorBlink = false;
    bool allow80To132 = true;
    std::unique_ptr<EscapeSequenceParser> parser;
    int refreshStart = INT32_MAX;
    int refreshEnd = -1;
    int scrollInvariantRefreshStart = INT32_MAX;
    int scrollInvariantRefreshEnd = -1;
    bool userScrolling = false;
    bool lineFeedMode = false;
    bool smoothScroll = false;
    std::vector<Color> installedColors;
    std::vector<Color> defaultAnsiColors;
    std::vector<Color> ansiColors;
    CC cc;
    std::optional<std::string> hostCurrentDirectory;
    std::optional<std::string> hostCurrentDocument;
    MouseProtocolEncoding mouseProtocol = MouseProtocolEncoding::x10;
    bool xtermTitleSetUtf = false;
    bool xtermTitleSetHex = false;
    bool xtermTitleQueryUtf = false;
    bool xtermTitleQueryHex = false;
    TerminalConformance conformance = TerminalConformance::vt500;
    std::optional<HyperlinkTracking> hyperLinkTracking;
    bool silentLog = true;
    std::string terminalTitle;
    std::string iconTitle;
    std::vector<std::string> terminalTitleStack;
    std::vector<std::string> terminalIconStack;
    TinyAtomTable payloadAtoms;

protected:
    TerminalDelegate* tdel = nullptr;

private:
    void configureParser(EscapeSequenceParser& parser);
    void installScrollCallback(Buffer& target);
    std::unique_ptr<Buffer> makeNormalBuffer();
    void resetNormalBuffer();
    void activateAltBuffer(std::optional<Attribute> fillAttr);
    void activateNormalBuffer(AlternateContents alternate);
    void rebuildAnsiPalette(bool notifyDelegate);
    Attribute eraseAttribute() const;
    CharData eraseCell() const;
    void refreshBlankLine(LineWrap wrap);
    void rotateRowsUp(int topRow, int bottomRow, std::unique_ptr<BufferLine> blank);
    void rotateRowsDown(int topRow, int bottomRow, std::unique_ptr<BufferLine> blank);
    void copyMarginCells(int fromRow, int toRow);
    void clearMarginCells(int row);

    // Synchronized output.
    void beginSynchronizedOutput();
    void endSynchronizedOutput();
    void scheduleSynchronizedOutputTimeout();
    std::unique_ptr<Buffer> snapshotBuffer(const Buffer& source) const;

    // Printing.
    void handlePrint(ByteSpan data);
    void printText(ByteSpan data);
    bool asciiFastPathAllowed() const;
    void placeAsciiRun(ByteSpan run);
    void printScalar(char32_t scalar, int width);
    bool joinLastCell(char32_t scalar, int width);
    void insertCell(const CharData& cell);
    void wrapToNextLine();
    void resetReadingBuffer() { readingBuffer_.clear(); }

    // Editing helpers.
    int leftColumn() const;
    int rightColumn() const;
    void eraseInBufferLine(int row, int start, int end);
    void resetBufferLine(int row);
    void setMode(std::int64_t mode, ModeFamily family, ModeSwitch action);

    std::unique_ptr<Buffer> normalBuffer_;
    std::unique_ptr<Buffer> altBuffer_;
    Buffer* buffer_ = nullptr;
    TerminalExecutor* executor_ = nullptr;
    GraphemeTable graphemes_;
    WidthCache widths_;
    MouseMode mouseMode_ = MouseMode::off;
    Color foregroundColor_ = Color::defaultForeground;
    Color backgroundColor_ = Color::defaultBackground;
    std::optional<Color> cursorColor_;
    bool settingFgColor_ = false;
    bool settingBgColor_ = false;
    bool settingCursorColor_ = false;
    std::unique_ptr<BufferLine> blankLine_;
    // Bytes of a UTF-8 sequence left unfinished by the previous print call.
    std::vector<std::uint8_t> readingBuffer_;
    // Code of the last cell printed on the active screen; unknownCode after a switch of screens.
    static constexpr std::int32_t unknownCode = INT32_MAX;
    std::int32_t lastPrintedCode_ = unknownCode;

    bool synchronizedOutputActive_ = false;
    std::unique_ptr<Buffer> synchronizedOutputBuffer_;
    bool synchronizedOutputBufferIsAlternate_ = false;
    std::chrono::steady_clock::time_point synchronizedOutputDeadline_;
    // Shared with scheduled time-outs so one that fires after the terminal is gone does nothing.
    std::shared_ptr<Terminal*> self_;
};

} // namespace brevlin
