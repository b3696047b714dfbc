#include "platform/input/TarnQtClipboardWriter.h"

#include <QClipboard>
#include <QGuiApplication>

bool TarnQtClipboardWriter::setText(const QString& text) {
  auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!application) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->setText(text, QClipboard::Clipboard);
  return true;
}
