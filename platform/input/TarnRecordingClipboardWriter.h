#pragma once
#include "platform/input/TarnClipboardWriter.h"

#include <QStringList>

class TarnRecordingClipboardWriter : public TarnClipboardWriter {
public:
  bool available = true;
  QStringList texts;

  bool setText(const QString& text) override;
};
