// Connect-and-pair cost of the host service over loopback: 64 clients paired at once,
// then connect / pair by trust token / disconnect cycles while those 64 stay connected.
#include "tests/support/lineclient/TarnEventWait.h"
#include "tests/support/lineclient/TarnTestHost.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

namespace {

constexpr int concurrentClients = 64;

long peakResidentKilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
  }
  return -1;
}

long openDescriptors() {
  return static_cast<long>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

// Waits until the host has as many paired clients as expected.
bool settle(TarnTestHost& host, std::size_t paired) {
  return waitUntil([&] { return host.service().clientIDs(TarnClientAudience::allPaired).size() == paired; },
                   std::chrono::seconds(10));
}

void BM_ConnectAndPairCycle(benchmark::State& state) {
  ensureTestApplication();
  TarnTestHost host;
  host.start();
  std::vector<std::unique_ptr<TarnLineClient>> resident;
  for (int i = 0; i < concurrentClients; ++i) {
    auto client = host.pairedClient();
    if (!client) {
      state.SkipWithError("a resident client did not pair");
      return;
    }
    resident.push_back(std::move(client));
  }
  const long descriptorsBefore = openDescriptors();

  // One device that keeps reconnecting with the token it was given.
  TarnWirePairRequest returning = makePairRequest(host.owner().pairingCode.toStdString());
  {
    auto first = host.pairedClient(returning);
    if (!first) {
      state.SkipWithError("the returning device did not pair");
      return;
    }
    returning.trustToken = first->received().back().pairResult->trustToken;
    returning.pairingCode.clear();
  }
  if (!settle(host, concurrentClients)) {
    state.SkipWithError("the first visit did not end");
    return;
  }

  for (auto _ : state) {
    auto client = host.pairedClient(returning);
    if (!client) {
      state.SkipWithError("reconnect by token failed");
      return;
    }
    client->disconnectNow();
    client.reset();
    if (!settle(host, concurrentClients)) {
      state.SkipWithError("the host kept a departed client");
      return;
    }
  }

  // Sockets closed by the host finish on the event loop.
  waitUntil([] { return false; }, std::chrono::milliseconds(50));
  const long descriptorsAfter = openDescriptors();
  state.counters["resident_clients"] = concurrentClients;
  state.counters["fds_before"] = static_cast<double>(descriptorsBefore);
  state.counters["fds_after"] = static_cast<double>(descriptorsAfter);
  state.counters["peak_rss_kB"] = static_cast<double>(peakResidentKilobytes());
  if (descriptorsAfter != descriptorsBefore) state.SkipWithError("file descriptors leaked");
}
BENCHMARK(BM_ConnectAndPairCycle)->Iterations(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PairSixtyFourClients(benchmark::State& state) {
  ensureTestApplication();
  for (auto _ : state) {
    TarnTestHost host;
    host.start();
    std::vector<std::unique_ptr<TarnLineClient>> clients;
    for (int i = 0; i < concurrentClients; ++i) clients.push_back(host.pairedClient());
    if (!settle(host, concurrentClients)) state.SkipWithError("not every client paired");
  }
  state.counters["peak_rss_kB"] = static_cast<double>(peakResidentKilobytes());
}
BENCHMARK(BM_PairSixtyFourClients)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
