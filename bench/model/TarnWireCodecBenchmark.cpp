// Encode and decode throughput of the line codec on three typical streams, each beside
// plain nlohmann::json work on the same bytes (parse for decoding, dump for encoding).

#include "model/TarnBase64.h"
#include "model/TarnWireCodec.h"
#include "model/TarnWireLineDecoder.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kReceiveSize = 65'536;

std::string randomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (auto& byte : bytes) byte = static_cast<char>(generator());
  return bytes;
}

struct Stream {
  std::vector<TarnWireEnvelope> envelopes;
  std::vector<std::string> lines;
  std::string bytes;
};

Stream makeStream(std::vector<TarnWireEnvelope> envelopes) {
  Stream stream;
  stream.envelopes = std::move(envelopes);
  for (const auto& envelope : stream.envelopes) {
    stream.lines.push_back(TarnWireCodec::encode(envelope));
    stream.bytes += stream.lines.back();
  }
  return stream;
}

// One screen frame of about 150 KB of base64.
const Stream& screenFrames() {
  static const Stream stream = makeStream({TarnWireEnvelope::carrying(TarnWireScreenFrame{
      .jpegBase64 = TarnBase64::encode(randomBytes(112'500, 1)),
      .width = 1512,
      .height = 982,
      .capturedAt = TarnDate::now(),
      .displayID = 1,
      .displayName = "Built-in Display",
      .availableDisplays = std::vector<TarnDisplay>{{1, "Built-in Display", 1512, 982, true}},
  })});
  return stream;
}

// 256 terminal-output envelopes, each carrying 4 KiB of output.
const Stream& terminalOutput() {
  static const Stream stream = [] {
    std::vector<TarnWireEnvelope> envelopes;
    auto sessionID = TarnUUID::random();
    for (std::uint32_t i = 0; i < 256; ++i) {
      envelopes.push_back(TarnWireEnvelope::carrying(
          TarnWireTerminalOutput{sessionID, TarnBase64::encode(randomBytes(4096, i))}));
    }
    return makeStream(std::move(envelopes));
  }();
  return stream;
}

// 1,000 small commands as a phone sends them.
const Stream& smallCommands() {
  static const Stream stream = [] {
    std::vector<TarnWireEnvelope> envelopes;
    auto sessionID = TarnUUID::random();
    for (int i = 0; i < 1000; ++i) {
      TarnWireTerminalInputPayload input{sessionID, TarnBase64::encode("ls -la\r")};
      envelopes.push_back(TarnWireEnvelope::carrying(TarnWireCommand{
          TarnUUID::random(), "terminalInput", input.encodedString(), TarnDate::now()}));
    }
    return makeStream(std::move(envelopes));
  }();
  return stream;
}

// One line just under the 40 MiB limit; it arrives in 640 receives of 64 KiB.
const Stream& longLine() {
  static const Stream stream = makeStream({TarnWireEnvelope::carrying(TarnWireFileDownloadResponse{
      .accepted = true,
      .path = "/home/ada/archive.tar",
      .fileName = "archive.tar",
      .byteCount = 31'000'000,
      .base64Data = TarnBase64::encode(randomBytes(31'000'000, 7)),
      .message = "Sent.",
  })});
  return stream;
}

void reportBytes(benchmark::State& state, const Stream& stream) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(stream.bytes.size()));
}

void codecEncode(benchmark::State& state, const Stream& (*streamOf)()) {
  const auto& stream = streamOf();
  for (auto _ : state) {
    for (const auto& envelope : stream.envelopes) {
      benchmark::DoNotOptimize(TarnWireCodec::encode(envelope));
    }
  }
  reportBytes(state, stream);
}

void rawDump(benchmark::State& state, const Stream& (*streamOf)()) {
  const auto& stream = streamOf();
  std::vector<nlohmann::json> documents;
  for (const auto& line : stream.lines) documents.push_back(nlohmann::json::parse(line));
  for (auto _ : state) {
    for (const auto& document : documents) benchmark::DoNotOptimize(document.dump() + '\n');
  }
  reportBytes(state, stream);
}

void codecDecode(benchmark::State& state, const Stream& (*streamOf)()) {
  const auto& stream = streamOf();
  std::string_view bytes = stream.bytes;
  for (auto _ : state) {
    TarnWireLineDecoder decoder;
    std::size_t decoded = 0;
    for (std::size_t at = 0; at < bytes.size(); at += kReceiveSize) {
      decoded += decoder.append(bytes.substr(at, kReceiveSize)).envelopes.size();
    }
    if (decoded != stream.envelopes.size()) state.SkipWithError("an envelope did not decode");
  }
  reportBytes(state, stream);
}

void rawParse(benchmark::State& state, const Stream& (*streamOf)()) {
  const auto& stream = streamOf();
  for (auto _ : state) {
    for (const auto& line : stream.lines) {
      benchmark::DoNotOptimize(nlohmann::json::parse(line.begin(), line.end() - 1));
    }
  }
  reportBytes(state, stream);
}

} // namespace

BENCHMARK_CAPTURE(codecEncode, screenFrame, &screenFrames);
BENCHMARK_CAPTURE(rawDump, screenFrame, &screenFrames);
BENCHMARK_CAPTURE(codecDecode, screenFrame, &screenFrames);
BENCHMARK_CAPTURE(rawParse, screenFrame, &screenFrames);

BENCHMARK_CAPTURE(codecEncode, terminalOutput4KiB, &terminalOutput);
BENCHMARK_CAPTURE(rawDump, terminalOutput4KiB, &terminalOutput);
BENCHMARK_CAPTURE(codecDecode, terminalOutput4KiB, &terminalOutput);
BENCHMARK_CAPTURE(rawParse, terminalOutput4KiB, &terminalOutput);

BENCHMARK_CAPTURE(codecEncode, smallCommands, &smallCommands);
BENCHMARK_CAPTURE(rawDump, smallCommands, &smallCommands);
BENCHMARK_CAPTURE(codecDecode, smallCommands, &smallCommands);
BENCHMARK_CAPTURE(rawParse, smallCommands, &smallCommands);

BENCHMARK_CAPTURE(codecDecode, longLineIn64KiBReceives, &longLine)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(rawParse, longLineIn64KiBReceives, &longLine)->Unit(benchmark::kMillisecond);
