#include "platform/autostart/TarnAutostartEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

TarnAutostartEntry::TarnAutostartEntry(QString folder, QString fileName, QStringList command)
    : folder_(std::move(folder)), fileName_(std::move(fileName)), command_(std::move(command)) {}

QString TarnAutostartEntry::defaultFolder() {
  QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (configHome.isEmpty() || !QDir::isAbsolutePath(configHome))
    configHome = QDir::homePath() + QStringLiteral("/.config");
  return configHome + QStringLiteral("/autostart");
}

QString TarnAutostartEntry::filePath() const { return QDir(folder_).filePath(fileName_); }

QString TarnAutostartEntry::execLine(const QStringList& command) {
  QStringList quoted;
  for (const QString& argument : command) {
    // Inside double quotes the format reserves ", `, $ and \; the whole value is then
    // a string value whose own escape doubles every backslash. % starts a field code.
    QString escaped;
    for (QChar character : argument) {
      if (character == u'"' || character == u'`' || character == u'$' || character == u'\\')
        escaped += QStringLiteral("\\\\");
      if (character == u'%') escaped += u'%';
      escaped += character == u'\\' ? QStringLiteral("\\\\") : QString(character);
    }
    quoted.append(u'"' + escaped + u'"');
  }
  return quoted.join(u' ');
}

bool TarnAutostartEntry::install() {
  if (command_.isEmpty() || !QDir().mkpath(folder_)) return false;
  QSaveFile file(filePath());
  if (!file.open(QIODevice::WriteOnly)) return false;
  QString text = QStringLiteral(
                     "[Desktop Entry]\n"
                     "Type=Application\n"
                     "Name=Tarnhold Host\n"
                     "Comment=Makes this computer reachable from its owner's phone and watch\n"
                     "Exec=%1\n"
                     "Terminal=false\n"
                     "X-GNOME-Autostart-enabled=true\n")
                     .arg(execLine(command_));
  file.write(text.toUtf8());
  return file.commit();
}

bool TarnAutostartEntry::remove() {
  QFile file(filePath());
  return !file.exists() || file.remove();
}

bool TarnAutostartEntry::isInstalled() const {
  QFile file(filePath());
  if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) return false;
  bool inMainGroup = false;
  while (!file.atEnd()) {
    QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.startsWith(u'[')) inMainGroup = line == QStringLiteral("[Desktop Entry]");
    if (inMainGroup && line.remove(u' ') == QStringLiteral("Hidden=true")) return false;
  }
  return true;
}
