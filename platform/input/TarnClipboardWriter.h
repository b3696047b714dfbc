#pragma once
#include <QString>

// Puts text on the desktop's clipboard, where a paste shortcut picks it up.
class TarnClipboardWriter {
public:
  virtual ~TarnClipboardWriter() = default;
  // False when there is no clipboard to own (no GUI session).
  virtual bool setText(const QString& text) = 0;
};
