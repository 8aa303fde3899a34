// Throughput of the value stream over a document-sized sequence: 1000 minor bodies of about 30
// values each (names, orbital elements, colours, switches), as the object blocks hold them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "streams/value_stream.h"

namespace {

using namespace kestrova;

constexpr int kBodies = 1000;

void WriteBody(ValueWriter& w, int i) {
  w.WriteString("(" + std::to_string(1000 + i) + ") Minor body " + std::to_string(i));
  w.WriteString("2004 MN" + std::to_string(i % 10));
  w.WriteInteger(11);
  w.WriteInteger(0x00C0C0C0 + i);
  for (int k = 0; k < 5; ++k) w.WriteBoolean((i + k) % 2 == 0);
  const Extended base = 2451545.0L + i * 0.37L;
  for (int k = 0; k < 8; ++k) w.WriteFloat(base / (k + 3));    // epoch and elements
  for (int k = 0; k < 6; ++k) w.WriteFloat(base * 1e-6L * k);  // position and magnitudes
  w.WriteInteger(i);
  w.WriteInteger(360);
  w.WriteInteger(-i * 100);
  w.WriteString(i % 50 == 0 ? "Observed at M\xC3\xA1laga" : "MPC");
  w.WriteBoolean(true);
}

void ReadBody(ValueReader& r) {
  benchmark::DoNotOptimize(r.ReadString());
  benchmark::DoNotOptimize(r.ReadString());
  benchmark::DoNotOptimize(r.ReadInteger());
  benchmark::DoNotOptimize(r.ReadInteger());
  for (int k = 0; k < 5; ++k) benchmark::DoNotOptimize(r.ReadBoolean());
  for (int k = 0; k < 14; ++k) benchmark::DoNotOptimize(r.ReadFloat());
  for (int k = 0; k < 3; ++k) benchmark::DoNotOptimize(r.ReadInteger());
  benchmark::DoNotOptimize(r.ReadString());
  benchmark::DoNotOptimize(r.ReadBoolean());
}

// Counts bytes without keeping them, so the benchmark measures the writer, not a growing vector.
class NullSink : public ByteSink {
 public:
  bool Write(const uint8_t*, size_t n) override {
    bytes += n;
    return true;
  }
  size_t bytes = 0;
};

void BM_ValueStreamWrite(benchmark::State& state) {
  size_t bytes = 0;
  for (auto _ : state) {
    NullSink sink;
    ValueWriter writer(sink);
    for (int i = 0; i < kBodies; ++i) WriteBody(writer, i);
    writer.Finish();
    bytes = sink.bytes;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["document_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ValueStreamWrite)->Unit(benchmark::kMicrosecond);

void BM_ValueStreamRead(benchmark::State& state) {
  MemorySink sink;
  ValueWriter writer(sink);
  for (int i = 0; i < kBodies; ++i) WriteBody(writer, i);
  writer.Finish();
  for (auto _ : state) {
    MemorySource source(sink.Bytes());
    ValueReader reader(source);
    for (int i = 0; i < kBodies; ++i) ReadBody(reader);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sink.Bytes().size()));
}
BENCHMARK(BM_ValueStreamRead)->Unit(benchmark::kMicrosecond);

}  // namespace
