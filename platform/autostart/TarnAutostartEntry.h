#pragma once
#include <QString>
#include <QStringList>

// The program's login item: an XDG autostart desktop entry that desktop sessions
// start at login.
class TarnAutostartEntry {
public:
  // `folder` is the autostart folder (see defaultFolder), `fileName` the entry's
  // file name, `command` the program and its arguments.
  TarnAutostartEntry(QString folder, QString fileName, QStringList command);
  // $XDG_CONFIG_HOME/autostart, or ~/.config/autostart.
  static QString defaultFolder();

  // Writes the entry, replacing any earlier one whole; false when it cannot be written.
  bool install();
  // Removes the entry; true when none is left.
  bool remove();
  // True when an entry is there and not hidden (Hidden=true switches an entry off).
  bool isInstalled() const;

  // The Exec value for `command`, quoted as the desktop entry format asks.
  static QString execLine(const QStringList& command);

private:
  QString filePath() const;

  QString folder_;
  QString fileName_;
  QStringList command_;
};
