#pragma once

#include "platform/mdns/TarnServiceAdvertiser.h"

#include <optional>
#include <vector>

// Records what it is asked to publish; tests decide what it reports.
class TarnRecordingAdvertiser final : public TarnServiceAdvertiser {
  Q_OBJECT

public:
  enum class Reply { advertiseOnPublish, stayQuiet };

  explicit TarnRecordingAdvertiser(Reply reply = Reply::advertiseOnPublish, QObject* parent = nullptr);

  void publish(const TarnServiceAdvertisement& advertisement) override;
  void withdraw() override;

  // Every publish in order, and what is published now (nothing after withdraw).
  const std::vector<TarnServiceAdvertisement>& published() const { return published_; }
  const std::optional<TarnServiceAdvertisement>& current() const { return current_; }
  int withdrawCount() const { return withdrawCount_; }

  void reportAdvertised() { Q_EMIT advertised(); }
  void reportFailure(const QString& reason) { Q_EMIT advertisingFailed(reason); }

private:
  Reply reply_;
  std::vector<TarnServiceAdvertisement> published_;
  std::optional<TarnServiceAdvertisement> current_;
  int withdrawCount_ = 0;
};
