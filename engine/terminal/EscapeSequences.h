#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace brevlin {

using Bytes = std::vector<std::uint8_t>;

// Byte sequences a front end sends to the program for special keys and bracketed paste.
struct EscapeSequences {
    static const Bytes cmdNewLine;
    static const Bytes cmdRet;
    static const Bytes cmdEsc;
    static const Bytes cmdDel;
    static const Bytes cmdDelKey;
    static const Bytes moveUpApp;
    static const Bytes moveUpNormal;
    static const Bytes moveDownApp;
    static const Bytes moveDownNormal;
    static const Bytes moveLeftApp;
    static const Bytes moveLeftNormal;
    static const Bytes moveRightApp;
    static const Bytes moveRightNormal;
    static const Bytes moveHomeApp;
    static const Bytes moveHomeNormal;
    static const Bytes moveEndApp;
    static const Bytes moveEndNormal;
    static const Bytes cmdTab;
    static const Bytes cmdBackTab;
    static const Bytes cmdPageUp;
    static const Bytes cmdPageDown;
    static const Bytes cmdInsert;
    static const Bytes emacsBack;
    static const Bytes emacsForward;
    static const Bytes controlLeft;
    static const Bytes controlRight;
    // F1 at index 0 through F12 at index 11.
    static const std::array<Bytes, 12> cmdF;
    static const Bytes bracketedPasteStart;
    static const Bytes bracketedPasteEnd;
};

// Whether replies use 7-bit introducers (ESC [) or 8-bit C1 bytes (0x9B).
struct CC {
    bool send8bit = false;

    Bytes csi() const { return send8bit ? Bytes {0x9B} : Bytes {0x1B, '['}; }
};

} // namespace brevlin
