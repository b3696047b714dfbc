#include "host/files/TarnHomeFolder.h"

#include <filesystem>

namespace {
bool isTrimmedSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isTrimmedSpace(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && isTrimmedSpace(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}
} // namespace

TarnHomeFolder::TarnHomeFolder(std::string_view homePath) : path_(standardize(std::string(homePath))) {}

std::string TarnHomeFolder::standardize(const std::string& absolutePath) {
  std::string result = std::filesystem::path(absolutePath).lexically_normal().string();
  while (result.size() > 1 && result.back() == '/') {
    result.pop_back();
  }
  return result;
}

std::string TarnHomeFolder::lastComponent(const std::string& standardPath) {
  const auto slash = standardPath.rfind('/');
  if (slash == std::string::npos || standardPath.size() == 1) {
    return standardPath;
  }
  return standardPath.substr(slash + 1);
}

std::string TarnHomeFolder::resolvedPath(std::string_view pathText) const {
  const std::string_view text = trimmed(pathText);
  if (text.empty() || text == "~") {
    return path_;
  }
  if (text.starts_with("~/")) {
    return standardize(path_ + "/" + std::string(text.substr(2)));
  }
  if (text.front() == '/') {
    return standardize(std::string(text));
  }
  // Relative to home, never to whatever folder the host process happens to run in.
  return standardize(path_ + "/" + std::string(text));
}

bool TarnHomeFolder::isInsideHome(const std::string& standardPath) const {
  if (standardPath == path_) {
    return true;
  }
  if (path_ == "/") {
    return standardPath.starts_with("/");
  }
  return standardPath.size() > path_.size() && standardPath.starts_with(path_) && standardPath[path_.size()] == '/';
}

std::string TarnHomeFolder::displayPath(const std::string& standardPath) const {
  if (standardPath == path_) {
    return "~";
  }
  const std::size_t prefixLength = path_ == "/" ? 1 : path_.size() + 1;
  return "~/" + standardPath.substr(prefixLength);
}

std::optional<std::string> TarnHomeFolder::parentPath(const std::string& standardPath) const {
  const std::string parent = standardize(std::filesystem::path(standardPath).parent_path().string());
  if (parent == standardPath || !isInsideHome(parent)) {
    return std::nullopt;
  }
  return parent;
}
