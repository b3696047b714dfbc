#include "host/files/TarnHomeFolder.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
  const char* text;
  const char* resolved;
  bool inside;
  const char* displayPath; // inside only
  const char* parentPath;  // nullptr: none
};

class TarnHomeFolderPaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(TarnHomeFolderPaths, ResolveJudgeAndShow) {
  const PathCase& expected = GetParam();
  const TarnHomeFolder home("/home/user/");
  const std::string resolved = home.resolvedPath(expected.text);
  EXPECT_EQ(resolved, expected.resolved);
  EXPECT_EQ(home.isInsideHome(resolved), expected.inside);
  if (expected.inside) {
    EXPECT_EQ(home.displayPath(resolved), expected.displayPath);
    EXPECT_EQ(home.parentPath(resolved), expected.parentPath ? std::optional<std::string>(expected.parentPath)
                                                             : std::nullopt);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TarnHomeFolderPaths,
    ::testing::Values(PathCase{"", "/home/user", true, "~", nullptr},
                      PathCase{"~", "/home/user", true, "~", nullptr},
                      PathCase{"  ~ \n", "/home/user", true, "~", nullptr},
                      PathCase{"~/Documents/../Desktop", "/home/user/Desktop", true, "~/Desktop", "/home/user"},
                      PathCase{"~/a/./b/", "/home/user/a/b", true, "~/a/b", "/home/user/a"},
                      PathCase{"~//etc", "/home/user/etc", true, "~/etc", "/home/user"},
                      PathCase{"Documents/a.txt", "/home/user/Documents/a.txt", true, "~/Documents/a.txt",
                               "/home/user/Documents"},
                      PathCase{"~other", "/home/user/~other", true, "~/~other", "/home/user"},
                      PathCase{"/home/user/x", "/home/user/x", true, "~/x", "/home/user"},
                      PathCase{"/etc", "/etc", false, nullptr, nullptr},
                      PathCase{"~/../otheruser", "/home/otheruser", false, nullptr, nullptr},
                      PathCase{"..", "/home", false, nullptr, nullptr},
                      PathCase{"/home/user2", "/home/user2", false, nullptr, nullptr},
                      PathCase{"/home/user/../../..", "/", false, nullptr, nullptr}));

TEST(TarnHomeFolder, LastComponent) {
  EXPECT_EQ(TarnHomeFolder::lastComponent("/home/user/a.txt"), "a.txt");
  EXPECT_EQ(TarnHomeFolder::lastComponent("/home/user"), "user");
}

} // namespace
