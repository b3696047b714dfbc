#include "host/files/TarnMacFileBrowser.h"
#include "model/TarnWireCodec.h"
#include "platform/desktop/TarnRecordingDesktopLauncher.h"
#include "tests/host/files/TarnFileTestHome.h"

#include <QByteArray>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using ::testing::ElementsAre;

constexpr const char* browseRefusal = "Tarnhold can browse only inside the Mac home folder.";
constexpr const char* downloadRefusal = "Tarnhold can download only files inside the Mac home folder.";
constexpr const char* folderSentence = "Folders cannot be downloaded yet. Open the folder and choose a file.";
constexpr const char* tooLargeSentence = "Files over 25 MB are not sent over the local control channel.";

class TarnMacFileBrowserTest : public ::testing::Test {
protected:
  std::vector<std::string> names(const TarnWireFileListResponse& listing) const {
    std::vector<std::string> result;
    for (const TarnFileEntry& entry : listing.entries) {
      result.push_back(entry.name);
    }
    return result;
  }

  TarnFileTestHome files_;
  TarnRecordingDesktopLauncher launcher_;
  TarnMacFileBrowser browser_{files_.home(), launcher_};
};

TEST_F(TarnMacFileBrowserTest, ListsFoldersFirstThenFilesInNaturalOrder) {
  for (const char* name : {"b", "A", "10", "9"}) {
    TarnFileTestHome::writeFile(files_.inHome(name), "12345");
  }
  files_.makeFolder("z");
  const TarnWireFileListResponse listing = browser_.list("~");
  EXPECT_THAT(names(listing), ElementsAre("z", "9", "10", "A", "b"));
  EXPECT_EQ(listing.currentPath, files_.home());
  EXPECT_EQ(listing.displayPath, "~");
  EXPECT_EQ(listing.parentPath, std::nullopt);
  EXPECT_EQ(listing.message, std::nullopt);
  const TarnFileEntry& folder = listing.entries[0];
  EXPECT_TRUE(folder.isDirectory);
  EXPECT_EQ(folder.byteCount, std::nullopt);
  EXPECT_EQ(folder.path, files_.inHome("z"));
  const TarnFileEntry& file = listing.entries[1];
  EXPECT_FALSE(file.isDirectory);
  EXPECT_EQ(file.byteCount, 5);
  EXPECT_TRUE(file.modifiedAt.has_value());
  EXPECT_FALSE(file.isHidden);
}

TEST_F(TarnMacFileBrowserTest, DotFilesAreListedAsHidden) {
  TarnFileTestHome::writeFile(files_.inHome(".profile"), "");
  const TarnWireFileListResponse listing = browser_.list("");
  ASSERT_EQ(listing.entries.size(), 1u);
  EXPECT_TRUE(listing.entries[0].isHidden);
}

TEST_F(TarnMacFileBrowserTest, ListsASubfolderWithItsParent) {
  files_.makeFolder("Desktop");
  files_.makeFolder("Documents");
  const TarnWireFileListResponse listing = browser_.list("~/Documents/../Desktop");
  EXPECT_EQ(listing.currentPath, files_.inHome("Desktop"));
  EXPECT_EQ(listing.displayPath, "~/Desktop");
  EXPECT_EQ(listing.parentPath, files_.home());
  EXPECT_TRUE(listing.entries.empty());
  EXPECT_EQ(listing.message, "This folder is empty.");
}

TEST_F(TarnMacFileBrowserTest, AFolderThatCannotBeReadAnswersWithTheSystemError) {
  TarnFileTestHome::writeFile(files_.inHome("notes.txt"), "x");
  const TarnWireFileListResponse file = browser_.list("notes.txt");
  EXPECT_EQ(file.currentPath, files_.inHome("notes.txt"));
  EXPECT_EQ(file.parentPath, files_.home());
  EXPECT_EQ(file.message, "Not a directory");
  EXPECT_EQ(browser_.list("~/missing").message, "No such file or directory");
  // A FIFO is refused by its type, without waiting for a writer.
  ASSERT_EQ(::mkfifo(files_.inHome("pipe").c_str(), 0600), 0);
  EXPECT_EQ(browser_.list("~/pipe").message, "Not a directory");
}

TEST_F(TarnMacFileBrowserTest, RefusesEveryWayOutOfHome) {
  files_.makeFolder("inner");
  TarnFileTestHome::link(files_.outside(), files_.inHome("escape"));
  TarnFileTestHome::link("../../outside", files_.inHome("inner/relative-escape"));
  for (const std::string& path : {std::string("/etc"), std::string("~/../outside"), std::string(".."),
                                  files_.outside(), std::string("~/escape"), std::string("inner/relative-escape")}) {
    SCOPED_TRACE(path);
    const TarnWireFileListResponse listing = browser_.list(path);
    EXPECT_EQ(listing.currentPath, files_.home());
    EXPECT_EQ(listing.displayPath, "~");
    EXPECT_EQ(listing.parentPath, std::nullopt);
    EXPECT_TRUE(listing.entries.empty());
    EXPECT_EQ(listing.message, browseRefusal);
  }
}

TEST_F(TarnMacFileBrowserTest, FollowsLinksThatStayInsideHome) {
  files_.makeFolder("Documents");
  TarnFileTestHome::writeFile(files_.inHome("Documents/a.txt"), "a");
  TarnFileTestHome::link(files_.inHome("Documents"), files_.inHome("docs"));
  const TarnWireFileListResponse listing = browser_.list("~/docs");
  EXPECT_EQ(listing.currentPath, files_.inHome("docs"));
  EXPECT_THAT(names(listing), ElementsAre("a.txt"));
  EXPECT_EQ(listing.entries[0].path, files_.inHome("docs/a.txt"));
}

TEST_F(TarnMacFileBrowserTest, LinksAreDescribedAsThemselvesNotByTheirTarget) {
  TarnFileTestHome::writeFile(files_.outside() + "/secret", std::string(1000, 's'));
  TarnFileTestHome::link(files_.outside() + "/secret", files_.inHome("secret-link"));
  const TarnWireFileListResponse listing = browser_.list("~");
  ASSERT_EQ(listing.entries.size(), 1u);
  EXPECT_EQ(listing.entries[0].byteCount, static_cast<std::int64_t>((files_.outside() + "/secret").size()));
}

TEST_F(TarnMacFileBrowserTest, NamesThatAreNotUtf8DoNotSpoilTheListing) {
  TarnFileTestHome::writeFile(files_.inHome("bad\xff\xfe.txt"), "");
  TarnFileTestHome::writeFile(files_.inHome("good.txt"), "");
  const TarnWireFileListResponse listing = browser_.list("~");
  EXPECT_THAT(names(listing), ElementsAre("bad\uFFFD\uFFFD.txt", "good.txt"));
  EXPECT_EQ(listing.entries[0].path, files_.inHome("bad\uFFFD\uFFFD.txt"));
  EXPECT_FALSE(TarnWireCodec::encode(TarnWireEnvelope::carrying(listing)).empty());
}

TEST_F(TarnMacFileBrowserTest, DownloadsAFileAsBase64) {
  TarnFileTestHome::writeFile(files_.inHome("notes.txt"), "hello\n");
  // Relative paths lie below home whatever the process's own folder is.
  const TarnWireFileDownloadResponse download = browser_.download(" notes.txt ");
  EXPECT_TRUE(download.accepted);
  EXPECT_EQ(download.path, files_.inHome("notes.txt"));
  EXPECT_EQ(download.fileName, "notes.txt");
  EXPECT_EQ(download.byteCount, 6);
  EXPECT_EQ(download.base64Data, "aGVsbG8K");
  EXPECT_EQ(download.message, "Downloaded notes.txt.");
}

TEST_F(TarnMacFileBrowserTest, DownloadsUpToTheLimitAndNoFurther) {
  TarnFileTestHome::makeFileOfSize(files_.inHome("exact.bin"), 26'214'400);
  TarnFileTestHome::makeFileOfSize(files_.inHome("over.bin"), 26'214'401);
  const TarnWireFileDownloadResponse exact = browser_.download("~/exact.bin");
  EXPECT_TRUE(exact.accepted);
  EXPECT_EQ(exact.byteCount, 26'214'400);
  EXPECT_EQ(exact.base64Data->size(), 34'952'536u);
  const TarnWireFileDownloadResponse over = browser_.download("~/over.bin");
  EXPECT_FALSE(over.accepted);
  EXPECT_EQ(over.byteCount, 0);
  EXPECT_EQ(over.base64Data, std::nullopt);
  EXPECT_EQ(over.message, tooLargeSentence);
}

struct RefusedDownload {
  const char* name;
  const char* pathText;
  const char* message;
};

TEST_F(TarnMacFileBrowserTest, RefusesDownloadsThatAreNotRegularFilesInsideHome) {
  files_.makeFolder("folder");
  ASSERT_EQ(::mkfifo(files_.inHome("pipe").c_str(), 0600), 0);
  TarnFileTestHome::writeFile(files_.outside() + "/secret", "secret");
  TarnFileTestHome::link(files_.outside() + "/secret", files_.inHome("secret-link"));
  const RefusedDownload cases[] = {
      {"folder", "~/folder", folderSentence},
      {"missing", "~/missing", folderSentence},
      {"pipe", "~/pipe", "Only regular files can be downloaded."}, // must not wait for a writer
  };
  for (const RefusedDownload& refused : cases) {
    SCOPED_TRACE(refused.pathText);
    const TarnWireFileDownloadResponse download = browser_.download(refused.pathText);
    EXPECT_FALSE(download.accepted);
    EXPECT_EQ(download.path, files_.inHome(refused.name));
    EXPECT_EQ(download.fileName, refused.name);
    EXPECT_EQ(download.byteCount, 0);
    EXPECT_EQ(download.message, refused.message);
  }
  // Outside home the request's text comes back untouched, spaces included.
  for (const std::string& pathText : {std::string(" /etc/passwd "), std::string("~/secret-link"),
                                      std::string("../outside/secret")}) {
    SCOPED_TRACE(pathText);
    const TarnWireFileDownloadResponse download = browser_.download(pathText);
    EXPECT_FALSE(download.accepted);
    EXPECT_EQ(download.path, pathText);
    EXPECT_EQ(download.fileName, "File");
    EXPECT_EQ(download.base64Data, std::nullopt);
    EXPECT_EQ(download.message, downloadRefusal);
  }
}

TEST_F(TarnMacFileBrowserTest, OpensAndRevealsOnlyInsideHome) {
  TarnFileTestHome::writeFile(files_.inHome("a.txt"), "a");
  TarnFileTestHome::writeFile(files_.outside() + "/b.txt", "b");
  TarnFileTestHome::link(files_.outside() + "/b.txt", files_.inHome("b-link.txt"));

  EXPECT_EQ(browser_.open("~/a.txt"), "Opened a.txt on the Mac.");
  EXPECT_EQ(browser_.reveal("a.txt"), "Revealed a.txt in Finder.");
  EXPECT_EQ(browser_.open("~/b-link.txt"), "Tarnhold can open only files inside the Mac home folder.");
  EXPECT_EQ(browser_.reveal("/etc/passwd"), "Tarnhold can reveal only files inside the Mac home folder.");
  EXPECT_EQ(browser_.open("~/missing.txt"), "Could not open missing.txt on the Mac.");
  EXPECT_THAT(launcher_.openedPaths, ElementsAre(QString::fromStdString(files_.inHome("a.txt"))));
  EXPECT_THAT(launcher_.revealedPaths, ElementsAre(QString::fromStdString(files_.inHome("a.txt"))));
}

TEST_F(TarnMacFileBrowserTest, SaysSoWhenTheDesktopCannotOpen) {
  TarnFileTestHome::writeFile(files_.inHome("a.txt"), "a");
  launcher_.nextResult = TarnDesktopRequestResult::couldNotStart;
  EXPECT_EQ(browser_.open("~/a.txt"), "Could not open a.txt on the Mac.");
  EXPECT_EQ(browser_.reveal("~/a.txt"), "Could not reveal a.txt in Finder.");
}

} // namespace
