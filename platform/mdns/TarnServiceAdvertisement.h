#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

struct TarnTxtEntry {
  QString key;
  QString value;
  bool operator==(const TarnTxtEntry&) const = default;
};

// One DNS-SD service as it should appear on the local network.
struct TarnServiceAdvertisement {
  QString name;
  QString type = QStringLiteral("_tarnhold._tcp");
  quint16 port = 0;
  std::vector<TarnTxtEntry> txt; // in the order they are published
  bool operator==(const TarnServiceAdvertisement&) const = default;
};
