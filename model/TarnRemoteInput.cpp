#include "model/TarnRemoteInput.h"

#include "model/TarnJsonCoding.h"

#include <cmath>

namespace {

struct ActionText {
  std::string_view title;
  std::string_view symbol;
};

constexpr std::array<ActionText, 18> kActionTexts = {{
    {"Pointer Move", "cursorarrow.motionlines"},
    {"Primary Click", "cursorarrow.click.2"},
    {"Right Click", "contextualmenu.and.cursorarrow"},
    {"Scroll", "scroll"},
    {"Pinch Zoom", "plus.magnifyingglass"},
    {"Mission Control", "rectangle.3.group"},
    {"Keyboard", "keyboard"},
    {"Type Text", "text.cursor"},
    {"Smart Paste", "doc.on.clipboard"},
    {"Open Terminal", "terminal"},
    {"Privacy Shield", "eye.slash"},
    {"Keep Mac Awake", "cup.and.heat.waves"},
    {"Sleep Display", "display"},
    {"Lock Mac", "lock"},
    {"Sleep Mac", "moon.zzz.fill"},
    {"Restart Mac", "arrow.clockwise"},
    {"Log Out Mac", "rectangle.portrait.and.arrow.right"},
    {"Shut Down Mac", "power"},
}};

double clampToUnit(double value) {
  if (std::isnan(value) || value <= 0) return 0;
  return value > 1 ? 1 : value;
}

double finiteOrZero(double value) {
  return std::isfinite(value) ? value : 0;
}

} // namespace

std::string_view title(TarnRemoteInputAction action) {
  return kActionTexts[static_cast<std::size_t>(action)].title;
}

std::string_view symbol(TarnRemoteInputAction action) {
  return kActionTexts[static_cast<std::size_t>(action)].symbol;
}

TarnRemoteInputPayload::TarnRemoteInputPayload(TarnRemoteInputAction action, double x, double y,
                                               double deltaX, double deltaY,
                                               std::optional<std::string> text,
                                               std::optional<std::string> label, TarnDate createdAt)
    : action(action), x(clampToUnit(x)), y(clampToUnit(y)), deltaX(deltaX), deltaY(deltaY),
      text(std::move(text)), label(label ? std::move(*label) : std::string(title(action))),
      createdAt(createdAt) {}

std::string TarnRemoteInputPayload::encodedString() const {
  TarnRemoteInputPayload finite = *this;
  finite.x = finiteOrZero(x);
  finite.y = finiteOrZero(y);
  finite.deltaX = finiteOrZero(deltaX);
  finite.deltaY = finiteOrZero(deltaY);
  return TarnJsonCoding::encodedString(finite);
}

std::optional<TarnRemoteInputPayload> TarnRemoteInputPayload::decode(std::string_view text) {
  return TarnJsonCoding::decode<TarnRemoteInputPayload>(text, TarnDateCoding::iso8601);
}
