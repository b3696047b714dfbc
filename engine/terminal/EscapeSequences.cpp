#include "engine/terminal/EscapeSequences.h"

namespace brevlin {

namespace {

Bytes csi(const char* tail)
{
    Bytes out {0x1B, '['};
    for (const char* c = tail; *c != '\0'; ++c)
        out.push_back(static_cast<std::uint8_t>(*c));
    return out;
}

Bytes ss3(char final) { return {0x1B, 'O', static_cast<std::uint8_t>(final)}; }

} // namespace

const Bytes EscapeSequences::cmdNewLine {0x0A};
const Bytes EscapeSequences::cmdRet {0x0D};
const Bytes EscapeSequences::cmdEsc {0x1B};
const Bytes EscapeSequences::cmdDel {0x7F};
const Bytes EscapeSequences::cmdDelKey = csi("3~");
const Bytes EscapeSequences::moveUpApp = ss3('A');
const Bytes EscapeSequences::moveUpNormal = csi("A");
const Bytes EscapeSequences::moveDownApp = ss3('B');
const Bytes EscapeSequences::moveDownNormal = csi("B");
const Bytes EscapeSequences::moveLeftApp = ss3('D');
const Bytes EscapeSequences::moveLeftNormal = csi("D");
const Bytes EscapeSequences::moveRightApp = ss3('C');
const Bytes EscapeSequences::moveRightNormal = csi("C");
const Bytes EscapeSequences::moveHomeApp = ss3('H');
const Bytes EscapeSequences::moveHomeNormal = csi("H");
const Bytes EscapeSequences::moveEndApp = ss3('F');
const Bytes EscapeSequences::moveEndNormal = csi("F");
const Bytes EscapeSequences::cmdTab {0x09};
const Bytes EscapeSequences::cmdBackTab = csi("Z");
const Bytes EscapeSequences::cmdPageUp = csi("5~");
const Bytes EscapeSequences::cmdPageDown = csi("6~");
const Bytes EscapeSequences::cmdInsert = csi("2~");
const Bytes EscapeSequences::emacsBack {0x1B, 'b'};
const Bytes EscapeSequences::emacsForward {0x1B, 'f'};
const Bytes EscapeSequences::controlLeft = csi("1;5D");
const Bytes EscapeSequences::controlRight = csi("1;5C");
const std::array<Bytes, 12> EscapeSequences::cmdF {ss3('P'), ss3('Q'), ss3('R'), ss3('S'), csi("15~"), csi("17~"),
    csi("18~"), csi("19~"), csi("20~"), csi("21~"), csi("23~"), csi("24~")};
const Bytes EscapeSequences::bracketedPasteStart = csi("200~");
const Bytes EscapeSequences::bracketedPasteEnd = csi("201~");

} // namespace brevlin
