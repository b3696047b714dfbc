#include "host/input/TarnDesktopIntegration.h"

namespace {
// Under Wayland the X display is XWayland's, which sees no other applications: leave it closed.
TarnXDisplay openX11Display(const TarnSessionEnvironment& environment) {
  if (environment.type() != TarnSessionType::x11) return TarnXDisplay();
  return TarnXDisplay(environment.display);
}
}  // namespace

TarnDesktopIntegration::TarnDesktopIntegration(TarnSessionEnvironment environment, TarnLogindClient logind,
                                               TarnAutostartEntry loginItem)
    : display_(openX11Display(environment)),
      logind_(std::move(logind)),
      loginItem_(std::move(loginItem)),
      injector_(display_.get()),
      monitors_(display_.get()),
      systemActions_(injector_, display_.get(), logind_),
      keepAwake_(logind_),
      controller_({injector_, clipboard_, systemActions_, keepAwake_, monitors_}),
      permissionProbe_(std::move(environment)) {}

std::unique_ptr<TarnDesktopIntegration> TarnDesktopIntegration::forCurrentSession(const QString& executable) {
  return std::make_unique<TarnDesktopIntegration>(
      TarnSessionEnvironment::current(), TarnLogindClient::forCurrentSession(),
      TarnAutostartEntry(TarnAutostartEntry::defaultFolder(), QStringLiteral("tarnhold.desktop"), {executable}));
}

void TarnDesktopIntegration::handleCommand(const TarnWireCommand& command, const std::optional<TarnDevice>& device,
                                           std::optional<uint32_t> displayID, const EventReporter& report) {
  std::optional<TarnRemoteInputPayload> payload;
  if (command.name == TarnRemoteInputPayload::commandName) payload = TarnRemoteInputPayload::decode(command.payload);
  if (!payload) {
    report(QString::fromStdString(command.name), QString::fromStdString(command.payload),
           device ? QStringLiteral("iphone") : QStringLiteral("point.topleft.down.curvedto.point.bottomright.up"));
    return;
  }
  QString sentence = controller_.perform(*payload, displayID);
  if (payload->action == TarnRemoteInputAction::pointerMove) return;
  report(QString::fromStdString(payload->label), sentence, QString::fromUtf8(symbol(payload->action)));
}

bool TarnDesktopIntegration::setLaunchAtLogin(TarnSwitch state) {
  return state == TarnSwitch::on ? loginItem_.install() : loginItem_.remove();
}
