#include "host/files/TarnFolderLister.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <system_error>

namespace {
std::string validUtf8(const char* bytes) {
  return QString::fromUtf8(bytes).toStdString();
}

std::string childPath(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

TarnDate modificationDate(const struct stat& status) {
  return TarnDate::fromUnixSeconds(static_cast<double>(status.st_mtim.tv_sec) +
                                   static_cast<double>(status.st_mtim.tv_nsec) / 1e9);
}

struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};

// Reads every item of the open folder; items whose status cannot be read are left out.
// Links are described as themselves, never by their target, so nothing outside home shows.
std::vector<TarnFileEntry> readEntries(TarnFileDescriptor folder, const std::string& folderPath) {
  std::vector<TarnFileEntry> entries;
  std::unique_ptr<DIR, DirectoryCloser> directory(::fdopendir(folder.get()));
  if (!directory) {
    return entries;
  }
  folder.release();
  const int descriptor = ::dirfd(directory.get());
  while (const dirent* item = ::readdir(directory.get())) {
    if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0) {
      continue;
    }
    struct stat status {};
    if (::fstatat(descriptor, item->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
      continue;
    }
    TarnFileEntry entry;
    entry.name = validUtf8(item->d_name);
    entry.path = childPath(folderPath, entry.name);
    entry.isDirectory = S_ISDIR(status.st_mode);
    if (!entry.isDirectory) {
      entry.byteCount = static_cast<std::int64_t>(status.st_size);
    }
    entry.modifiedAt = modificationDate(status);
    entry.isHidden = item->d_name[0] == '.';
    entries.push_back(std::move(entry));
  }
  return entries;
}

// Qt compares plainly in the C locale, ignoring numeric mode; a service started without a
// locale still wants 9 before 10, so English collation stands in for C.
QLocale collationLocale() {
  const QLocale system = QLocale::system();
  return system.language() == QLocale::C ? QLocale(QLocale::English) : system;
}

void sortEntries(std::vector<TarnFileEntry>& entries) {
  QCollator collator(collationLocale());
  collator.setNumericMode(true);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  // One sort key per name: comparing keys is far cheaper than collating names again and again.
  std::vector<std::pair<QCollatorSortKey, TarnFileEntry*>> keyed;
  keyed.reserve(entries.size());
  for (TarnFileEntry& entry : entries) {
    keyed.emplace_back(collator.sortKey(QString::fromStdString(entry.name)), &entry);
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& left, const auto& right) {
    if (left.second->isDirectory != right.second->isDirectory) {
      return left.second->isDirectory;
    }
    return left.first.compare(right.first) < 0;
  });
  std::vector<TarnFileEntry> sorted;
  sorted.reserve(entries.size());
  for (auto& [key, entry] : keyed) {
    sorted.push_back(std::move(*entry));
  }
  entries = std::move(sorted);
}
} // namespace

TarnFolderLister::TarnFolderLister(const TarnHomeFolder& home) : home_(home), confinement_(home.path()) {}

TarnWireFileListResponse TarnFolderLister::refusal() const {
  return TarnWireFileListResponse{home_.path(), "~", std::nullopt, {}, outsideHomeMessage};
}

TarnWireFileListResponse TarnFolderLister::list(const std::string& pathText) const {
  const std::string path = home_.resolvedPath(pathText);
  if (!home_.isInsideHome(path)) {
    return refusal();
  }
  TarnConfinedFile folder = confinement_.open(path, O_RDONLY | O_DIRECTORY);
  if (folder.failure == TarnConfinementFailure::outsideHome) {
    return refusal();
  }
  TarnWireFileListResponse response;
  response.currentPath = path;
  response.displayPath = home_.displayPath(path);
  response.parentPath = home_.parentPath(path);
  if (folder.failure != TarnConfinementFailure::none) {
    response.message = std::generic_category().message(folder.errorNumber);
    return response;
  }
  response.entries = readEntries(std::move(folder.descriptor), path);
  sortEntries(response.entries);
  if (response.entries.empty()) {
    response.message = emptyFolderMessage;
  }
  return response;
}
