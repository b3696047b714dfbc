#pragma once

#include <QString>

// The numeric characters of a typed code, in order: "123 456" and "123-456" both give "123456".
QString normalizedPairingCode(const QString& code);

// Watches pair without screen streaming.
bool isWatchModel(const QString& model);
