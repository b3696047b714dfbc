#pragma once
#include "platform/input/TarnClipboardWriter.h"

// The CLIPBOARD selection through Qt: the application owns it and serves the text
// from its event loop, so it needs a QGuiApplication on the xcb platform.
class TarnQtClipboardWriter : public TarnClipboardWriter {
public:
  bool setText(const QString& text) override;
};
