#include "model/TarnInterfaceModels.h"

namespace {

struct ModeText {
  std::string_view title;
  std::string_view symbol;
};

constexpr std::array<ModeText, 4> kModeTexts = {{
    {"Screen", "display"},
    {"Terminal", "terminal"},
    {"Files", "folder"},
    {"Agents", "sparkles"},
}};

} // namespace

std::string_view title(TarnControlMode mode) {
  return kModeTexts[static_cast<std::size_t>(mode)].title;
}

std::string_view symbol(TarnControlMode mode) {
  return kModeTexts[static_cast<std::size_t>(mode)].symbol;
}
