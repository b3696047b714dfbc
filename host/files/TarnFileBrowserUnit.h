#pragma once
#include "host/core/TarnHostUnit.h"
#include "host/files/TarnMacFileBrowser.h"

#include <QObject>
#include <QThreadPool>

#include <functional>

// Serves "listFiles", "openFile", "revealFile" and "downloadFile".
// Listings and downloads read the disk on a worker of their own, one job at a time, so the
// replies leave in the order the commands came; open and reveal stay on the main thread.
class TarnFileBrowserUnit : public TarnHostUnit {
public:
  TarnFileBrowserUnit(TarnHostContext& context, std::string homePath, TarnDesktopLauncher& launcher);
  ~TarnFileBrowserUnit() override;

  std::vector<std::string> commandNames() const override;
  void handleCommand(const TarnWireCommand& command, const TarnUUID& clientID) override;

private:
  // Runs `work` on the worker, then `deliver` with its result on the main thread.
  void runInOrder(std::function<TarnWireEnvelope()> work, std::function<void(const TarnWireEnvelope&)> deliver);
  void reportDownload(const TarnWireFileDownloadResponse& response);

  TarnHostContext& context_;
  TarnMacFileBrowser browser_;
  QObject replyAnchor_; // queued replies die with the unit
  QThreadPool worker_;   // declared last: joined first, while everything above still exists
};
