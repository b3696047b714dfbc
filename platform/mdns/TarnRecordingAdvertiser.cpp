#include "platform/mdns/TarnRecordingAdvertiser.h"

#include <QMetaObject>

TarnRecordingAdvertiser::TarnRecordingAdvertiser(Reply reply, QObject* parent)
    : TarnServiceAdvertiser(parent), reply_(reply) {}

void TarnRecordingAdvertiser::publish(const TarnServiceAdvertisement& advertisement) {
  published_.push_back(advertisement);
  current_ = advertisement;
  if (reply_ != Reply::advertiseOnPublish)
    return;
  // Queued like a real daemon's answer, so the caller never sees it re-entrantly;
  // a withdraw or a newer publish before it arrives wins.
  const qsizetype publishNumber = qsizetype(published_.size());
  QMetaObject::invokeMethod(this, [this, publishNumber] {
    if (current_ && qsizetype(published_.size()) == publishNumber)
      Q_EMIT advertised();
  }, Qt::QueuedConnection);
}

void TarnRecordingAdvertiser::withdraw() {
  current_.reset();
  ++withdrawCount_;
}
