// Terminal output from a real shell through the registry and the host to a loopback client,
// and keystroke echo latency along the same road.
#include "BenchTerminalClient.h"

#include "host/terminals/TarnTerminalUnit.h"
#include "sessions/pty/LocalProcess.h"
#include "tests/support/lineclient/TarnTestHost.h"
#include "tests/support/terminals/TarnShellHome.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>

#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <mutex>

namespace {

// A file of 80-byte lines, about `megabytes` long.
class OutputFile {
public:
    explicit OutputFile(std::int64_t megabytes) {
        std::ofstream out(path());
        const std::string line(79, 'x');
        for (std::int64_t i = 0; i < megabytes * 1024 * 1024 / 80; ++i)
            out << line << '\n';
    }
    std::string path() const { return folder_.filePath(QStringLiteral("output.txt")).toStdString(); }

private:
    QTemporaryDir folder_;
};

// Counts a child's output and waits for its exit: the floor the pseudo-terminal itself sets.
class CountingDelegate : public LocalProcessDelegate {
public:
    void processTerminated(LocalProcess&, std::optional<int32_t>) override {
        std::lock_guard lock(mutex_);
        exited_ = true;
        changed_.notify_all();
    }
    void dataReceived(std::span<const uint8_t> slice) override { bytes += slice.size(); }
    winsize getWindowSize() override { return {40, 120, 0, 0}; }
    void waitForExit() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return exited_; });
        exited_ = false;
    }
    std::atomic<std::uint64_t> bytes{0};

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool exited_ = false;
};

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A host with the terminal unit, a paired client on its own thread and one open shell.
class TerminalBench {
public:
    enum class Echo { on, off };

    explicit TerminalBench(Echo echo) {
        host_.service().addUnit(std::make_unique<TarnTerminalUnit>(host_.service()));
        quint16 port = host_.start();
        client_->moveToThread(&clientThread_);
        clientThread_.start();
        onClient([this, port] { client_->connectAndPair(port, host_.owner().pairingCode.toStdString()); });
        serveUntil([this] { return client_->paired.load(); });
        onClient([this] { client_->sendCommand("terminalOpen", R"({"cols":120,"rows":40,"shell":"/bin/sh"})"); });
        serveUntil([this] { return client_->openedSession().has_value(); });
        session_ = *client_->openedSession();
        // A marker tells when the shell is ready.
        type(std::string(echo == Echo::off ? "stty -echo; " : "") + "printf '%s_%s\\n' TARN DONE\n");
        serveUntil([this] { return client_->markersSeen.load() > 0; });
    }

    ~TerminalBench() {
        onClientAndWait([this] { delete client_; });
        clientThread_.quit();
        clientThread_.wait();
    }

    void type(const std::string& text) {
        onClient([this, text] { client_->sendKeystrokes(session_, text); });
    }

    // Runs the host's event loop until the condition holds.
    template <class Condition>
    void serveUntil(Condition condition) {
        while (!condition())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    double clientCpuSeconds() {
        double seconds = 0;
        onClientAndWait([&] { seconds = client_->threadCpuSeconds(); });
        return seconds;
    }

    BenchTerminalClient& client() { return *client_; }

private:
    template <class Work>
    void onClient(Work work) {
        QMetaObject::invokeMethod(client_, std::move(work), Qt::QueuedConnection);
    }
    template <class Work>
    void onClientAndWait(Work work) {
        QMetaObject::invokeMethod(client_, std::move(work), Qt::BlockingQueuedConnection);
    }

    TarnShellHome home_;
    TarnTestHost host_;
    QThread clientThread_;
    BenchTerminalClient* client_ = new BenchTerminalClient;
    TarnUUID session_;
};

void BM_PseudoTerminalFloor(benchmark::State& state) {
    OutputFile output(state.range(0));
    CountingDelegate delegate;
    LocalProcess process(delegate);
    for (auto _ : state) {
        process.startProcess("/bin/sh", {"-c", "stty -echo; cat " + output.path()});
        delegate.waitForExit();
    }
    state.SetBytesProcessed(static_cast<int64_t>(delegate.bytes.load()));
}
BENCHMARK(BM_PseudoTerminalFloor)->Arg(32)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TerminalOutputThroughput(benchmark::State& state) {
    OutputFile output(state.range(0));
    const std::string file = output.path();
    TerminalBench bench(TerminalBench::Echo::off);
    std::uint64_t bytes = 0;
    double hostCpu = 0;
    for (auto _ : state) {
        std::uint64_t markers = bench.client().markersSeen.load();
        std::uint64_t before = bench.client().outputBytes.load();
        double cpuBefore = processCpuSeconds();
        double clientBefore = bench.clientCpuSeconds();
        bench.type("cat " + file + "; printf '%s_%s\\n' TARN DONE\n");
        bench.serveUntil([&] { return bench.client().markersSeen.load() > markers; });
        hostCpu += (processCpuSeconds() - cpuBefore) - (bench.clientCpuSeconds() - clientBefore);
        bytes += bench.client().outputBytes.load() - before;
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    double megabytes = static_cast<double>(bytes) / (1024.0 * 1024.0);
    state.counters["host_cpu_ms_per_MB"] = benchmark::Counter(1000.0 * hostCpu / megabytes);
}
BENCHMARK(BM_TerminalOutputThroughput)->Arg(32)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KeystrokeEchoLatency(benchmark::State& state) {
    TerminalBench bench(TerminalBench::Echo::on);
    bench.client().takeEchoLatencies();
    bool erase = false;
    for (auto _ : state) {
        std::uint64_t echoes = bench.client().echoesSeen.load();
        // A key, then its erasure, so the line never grows; the terminal echoes both at once.
        bench.type(erase ? "\x7f" : "a");
        erase = !erase;
        bench.serveUntil([&] { return bench.client().echoesSeen.load() > echoes; });
    }
    auto latencies = bench.client().takeEchoLatencies();
    std::sort(latencies.begin(), latencies.end());
    auto percentile = [&](double p) {
        return latencies.empty() ? 0.0 : latencies[static_cast<std::size_t>(p * (latencies.size() - 1))] * 1e3;
    };
    state.counters["p50_ms"] = percentile(0.50);
    state.counters["p99_ms"] = percentile(0.99);
}
BENCHMARK(BM_KeystrokeEchoLatency)->Iterations(2000)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    ensureTestApplication();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
