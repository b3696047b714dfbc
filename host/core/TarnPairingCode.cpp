#include "host/core/TarnPairingCode.h"

#include <QChar>
#include <QList>
#include <QStringView>

QString normalizedPairingCode(const QString& code) {
  QString digits;
  for (char32_t character : QStringView(code).toUcs4()) {
    if (QChar::isNumber(character)) digits += QString::fromUcs4(&character, 1);
  }
  return digits;
}

bool isWatchModel(const QString& model) {
  return model.contains(QStringLiteral("watch"), Qt::CaseInsensitive);
}
