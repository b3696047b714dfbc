#pragma once

#include "model/TarnRawEnum.h"

#include <array>
#include <string>
#include <string_view>

// The modes of control a user switches between; a mode's id is its raw value.
enum class TarnControlMode { screen, terminal, files, agents };

template <>
struct TarnEnumNames<TarnControlMode> {
  static constexpr std::array<std::string_view, 4> values = {"screen", "terminal", "files", "agents"};
};

std::string_view title(TarnControlMode mode);
std::string_view symbol(TarnControlMode mode);

enum class TarnActionRole { primary, neutral, caution, destructive };

template <>
struct TarnEnumNames<TarnActionRole> {
  static constexpr std::array<std::string_view, 4> values = {
      "primary", "neutral", "caution", "destructive"};
};

struct TarnQuickAction {
  std::string id{};
  std::string title{};
  std::string subtitle{};
  std::string symbol{};
  TarnActionRole role = TarnActionRole::neutral;

  bool operator==(const TarnQuickAction&) const = default;
};

struct TarnNavigationAction {
  std::string id{};
  std::string title{};
  std::string symbol{};
  TarnActionRole role = TarnActionRole::neutral;

  bool operator==(const TarnNavigationAction&) const = default;
};

// A labelled value shown as a tile; `value` is already formatted.
struct TarnMetric {
  std::string id{};
  std::string title{};
  std::string value{};
  std::string symbol{};

  bool operator==(const TarnMetric&) const = default;
};

// The remote pointer as last seen.
struct TarnPointerState {
  double x = 0;
  double y = 0;
  bool isPressing = false;
  std::string lastGesture{};

  bool operator==(const TarnPointerState&) const = default;
};
