// Listing a large folder (read, describe, sort in natural order) and a download at the size limit.
#include "host/files/TarnMacFileBrowser.h"
#include "platform/desktop/TarnRecordingDesktopLauncher.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace {

void touch(const std::string& path, off_t size) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (descriptor >= 0) {
    (void)!::ftruncate(descriptor, size);
    ::close(descriptor);
  }
}

void BM_ListFolder(benchmark::State& state) {
  QTemporaryDir home;
  const std::string homePath = home.path().toStdString();
  const auto count = static_cast<int>(state.range(0));
  for (int i = 0; i < count; ++i) {
    // Mixed names: numbers to compare by value, letters in both cases, some folders.
    const std::string name = (i % 3 == 0 ? "Report " : i % 3 == 1 ? "photo_" : "Notes-") + std::to_string(i * 7919 % count);
    if (i % 10 == 0) {
      ::mkdir((homePath + "/" + name).c_str(), 0700);
    } else {
      touch(homePath + "/" + name + ".txt", i);
    }
  }
  TarnRecordingDesktopLauncher launcher;
  const TarnMacFileBrowser browser(homePath, launcher);
  for (auto _ : state) {
    benchmark::DoNotOptimize(browser.list("~"));
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ListFolder)->Arg(1'000)->Arg(20'000)->Unit(benchmark::kMillisecond);

void BM_DownloadAtTheLimit(benchmark::State& state) {
  QTemporaryDir home;
  const std::string homePath = home.path().toStdString();
  touch(homePath + "/limit.bin", 26'214'400);
  TarnRecordingDesktopLauncher launcher;
  const TarnMacFileBrowser browser(homePath, launcher);
  for (auto _ : state) {
    benchmark::DoNotOptimize(browser.download("~/limit.bin"));
  }
  state.SetBytesProcessed(state.iterations() * 26'214'400);
}
BENCHMARK(BM_DownloadAtTheLimit)->Unit(benchmark::kMillisecond);

} // namespace
