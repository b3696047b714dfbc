#include "platform/input/TarnRecordingClipboardWriter.h"

bool TarnRecordingClipboardWriter::setText(const QString& text) {
  if (!available) return false;
  texts.append(text);
  return true;
}
