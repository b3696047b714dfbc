// How long one keychain call holds the calling (main) thread, per backend.
// Real time: the calls mostly wait on fsync and D-Bus, not on the CPU.
#include "platform/keychain/TarnFileSecretStore.h"
#include "platform/keychain/TarnKeychain.h"
#include "platform/keychain/TarnSecretServiceStore.h"
#include "tests/support/services/TarnPrivateKeyring.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QString token = QStringLiteral("3F2504E0-4F89-11D3-9A0C-0305E82C3301-9B2C4B1E-8E3A-4C4D-A1F2-6D3C2B1A0F9E");

QString account(int index) { return QStringLiteral("TarnholdTrustedClientToken-%1").arg(index); }

// The file store rewrites the whole file on every change: fill it with
// other clients' tokens first so the figure covers a realistic file.
void fill(TarnKeychain& keychain, int tokens) {
  for (int index = 0; index < tokens; ++index)
    keychain.set(token, account(index));
}

void BM_FileStoreSet(benchmark::State& state) {
  QTemporaryDir folder;
  TarnKeychain keychain(std::make_shared<TarnFileSecretStore>(folder.path()));
  fill(keychain, int(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(keychain.set(token, account(0)));
}
BENCHMARK(BM_FileStoreSet)->Arg(1)->Arg(100)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_FileStoreGet(benchmark::State& state) {
  QTemporaryDir folder;
  TarnKeychain keychain(std::make_shared<TarnFileSecretStore>(folder.path()));
  fill(keychain, int(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(keychain.get(account(0)));
}
BENCHMARK(BM_FileStoreGet)->Arg(1)->Arg(100)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Against a GNOME Keyring of the benchmark's own on a private session bus.
TarnPrivateKeyring& keyring() {
  static TarnPrivateKeyring instance;
  return instance;
}

void BM_SecretServiceSet(benchmark::State& state) {
  keyring();
  TarnKeychain keychain(std::make_shared<TarnSecretServiceStore>());
  for (auto _ : state)
    benchmark::DoNotOptimize(keychain.set(token, account(0)));
}
BENCHMARK(BM_SecretServiceSet)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_SecretServiceGet(benchmark::State& state) {
  keyring();
  TarnKeychain keychain(std::make_shared<TarnSecretServiceStore>());
  keychain.set(token, account(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(keychain.get(account(0)));
}
BENCHMARK(BM_SecretServiceGet)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace
