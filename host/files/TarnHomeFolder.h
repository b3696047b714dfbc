#pragma once
#include <optional>
#include <string>
#include <string_view>

// The home folder and the lexical path rules of the file browser: how a client's path text
// becomes an absolute path, whether it lies inside home, and how it is shown.
// Nothing here touches the file system; symbolic links are judged by TarnHomeConfinement.
class TarnHomeFolder {
public:
  explicit TarnHomeFolder(std::string_view homePath);

  const std::string& path() const { return path_; }

  // Trimmed text; empty or "~" is home, "~/rest" and relative paths lie below home.
  std::string resolvedPath(std::string_view pathText) const;
  bool isInsideHome(const std::string& standardPath) const;
  // "~" or "~/..." for a path inside home.
  std::string displayPath(const std::string& standardPath) const;
  // The folder one level up, when that is still inside home.
  std::optional<std::string> parentPath(const std::string& standardPath) const;

  // Removes "." and ".." components, repeated and trailing slashes; keeps symbolic links.
  static std::string standardize(const std::string& absolutePath);
  static std::string lastComponent(const std::string& standardPath);

private:
  std::string path_;
};
