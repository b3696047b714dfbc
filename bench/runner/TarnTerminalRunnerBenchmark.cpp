// One short command from request to response, and one that writes far more than is kept.
#include "host/runner/TarnMacTerminalRunner.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void runCommand(benchmark::State& state, const std::string& command) {
  QTemporaryDir home;
  // zsh reads the dotfiles of this empty home, not the user's.
  ::setenv("HOME", home.path().toLocal8Bit().constData(), 1);
  TarnTerminalRunnerSettings settings;
  settings.homePath = home.path().toStdString();
  const TarnMacTerminalRunner runner(settings);
  const TarnWireTerminalRequest request{TarnUUID::random(), command, {}, TarnDate::now()};
  for (auto _ : state) {
    benchmark::DoNotOptimize(runner.run(request, settings.homePath));
  }
}

void BM_RunEcho(benchmark::State& state) {
  runCommand(state, "echo hi");
}
BENCHMARK(BM_RunEcho)->Unit(benchmark::kMillisecond);

void BM_RunFiftyMegabytesOfOutput(benchmark::State& state) {
  runCommand(state, "head -c 50000000 /dev/zero | tr '\\0' x");
  state.SetBytesProcessed(state.iterations() * 50'000'000);
}
BENCHMARK(BM_RunFiftyMegabytesOfOutput)->Unit(benchmark::kMillisecond);

} // namespace
