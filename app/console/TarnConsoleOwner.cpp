#include "app/console/TarnConsoleOwner.h"

#include "host/core/TarnMacHostService.h"

#include <QRandomGenerator>

#include <unistd.h>

namespace {
QString sixDigitCode() {
  const quint32 number = QRandomGenerator::system()->bounded(1'000'000u);
  return QStringLiteral("%1 %2").arg(number / 1000, 3, 10, QLatin1Char('0')).arg(number % 1000, 3, 10, QLatin1Char('0'));
}

QString text(const std::string& value) { return QString::fromStdString(value); }

// Device names and event details come from the network: control characters in them
// would reach the terminal as escape sequences, and bidirectional overrides could
// make a name read as something else.
bool unsafeOnTerminal(QChar character) {
  const char16_t code = character.unicode();
  return character.category() == QChar::Other_Control || (code >= 0x202A && code <= 0x202E) ||
         (code >= 0x2066 && code <= 0x2069);
}

QString printable(QString line) {
  for (QChar& character : line) {
    if (unsafeOnTerminal(character)) character = QChar::ReplacementCharacter;
  }
  return line;
}
}  // namespace

TarnConsoleOwner::TarnConsoleOwner(FILE* out) : pairingCode_(sixDigitCode()), out_(out) {}

TarnConsoleOwner::~TarnConsoleOwner() = default;

TarnHostCallbacks TarnConsoleOwner::callbacks() {
  TarnHostCallbacks callbacks;
  callbacks.pairingCodeProvider = [this] { return pairingCode_; };
  callbacks.onAdvertisingChanged = [this](bool advertising) {
    print(advertising ? QStringLiteral("Advertising on the local network.") : QStringLiteral("Not advertising."));
  };
  callbacks.onDevicePaired = [this](const TarnDevice& device) {
    print(QStringLiteral("Paired: %1 (%2)").arg(text(device.name), text(device.model)));
  };
  callbacks.onPairingApprovalRequested = [this](const TarnPairingApprovalRequest& request) { requestArrived(request); };
  callbacks.onPairingApprovalRemoved = [this](const TarnUUID& connectionID) { requestRemoved(connectionID); };
  callbacks.onCommand = [this](const TarnWireCommand& command, const std::optional<TarnDevice>&) {
    print(QStringLiteral("Command %1: %2").arg(text(command.name), text(command.payload)));
  };
  callbacks.onEvent = [this](const QString& title, const QString& detail, const QString&) {
    print(QStringLiteral("%1: %2").arg(title, detail));
  };
  callbacks.onHostTokenGranted = [this](const QString&) { print(QStringLiteral("A device handed over a host token.")); };
  return callbacks;
}

void TarnConsoleOwner::attach(TarnMacHostService& service) {
  service_ = &service;
  print(QStringLiteral("Pairing code: %1").arg(pairingCode_));
  input_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(input_.get(), &QSocketNotifier::activated, input_.get(), [this] { readAnswer(); });
}

void TarnConsoleOwner::print(const QString& line) {
  out_ << printable(line) << Qt::endl;
}

void TarnConsoleOwner::requestArrived(const TarnPairingApprovalRequest& request) {
  waiting_.push_back(request);
  if (waiting_.size() == 1) askAboutOldest();
}

void TarnConsoleOwner::requestRemoved(const TarnUUID& connectionID) {
  const bool wasAsked = !waiting_.empty() && waiting_.front().id == connectionID;
  std::erase_if(waiting_, [&](const TarnPairingApprovalRequest& request) { return request.id == connectionID; });
  if (wasAsked) askAboutOldest();
}

void TarnConsoleOwner::askAboutOldest() {
  if (waiting_.empty()) return;
  const TarnPairingApprovalRequest& request = waiting_.front();
  print(QStringLiteral("%1 (%2) wants to pair. Approve? [y/n]").arg(text(request.clientName), text(request.clientModel)));
}

void TarnConsoleOwner::readAnswer() {
  char bytes[256];
  const ssize_t count = ::read(STDIN_FILENO, bytes, sizeof bytes);
  if (count <= 0) {
    // No terminal to ask any more: requests stay waiting until their devices leave.
    input_->setEnabled(false);
    return;
  }
  pendingInput_.append(bytes, count);
  qsizetype end;
  while ((end = pendingInput_.indexOf('\n')) >= 0) {
    const QString answer = QString::fromUtf8(pendingInput_.left(end)).trimmed().toLower();
    pendingInput_.remove(0, end + 1);
    if (waiting_.empty() || !service_) continue;
    const TarnUUID connectionID = waiting_.front().id;
    if (answer == QLatin1String("y") || answer == QLatin1String("yes")) {
      service_->approvePairingRequest(connectionID);
    } else if (answer == QLatin1String("n") || answer == QLatin1String("no")) {
      service_->rejectPairingRequest(connectionID);
    }
  }
}
