// Lookups of every double-byte value (lead 0x81..0xFE, trail 0x40..0xFF) on
// the sample table: lookups per second, file reads and heap allocations per
// lookup.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "codefind/code_lookup.h"
#include "codefind/posix/posix_platform.h"
#include "codefind/static_text_buffer.h"
#include "tests/support/heap_counting.h"

namespace {
bool couldNotRun = false;  // the figures would be of nothing
}

namespace {

class CountingTableFile final : public navo::codefind::TableFile {
 public:
  long reads = 0;
  bool Open(const char* path) override { return file_.Open(path); }
  bool Seek(uint32_t offset) override { return file_.Seek(offset); }
  bool Read(void* buffer, uint32_t size, uint32_t* delivered) override {
    ++reads;
    return file_.Read(buffer, size, delivered);
  }
  void Close() override { file_.Close(); }

 private:
  navo::codefind::PosixTableFile file_;
};

class QuietReports final : public navo::codefind::Reports {
 public:
  long count = 0;
  void ShowMessage(const char*, const char*) override { ++count; }
  void Beep() override { ++count; }
};

const char* TablePath() {
  const char* path = std::getenv("NAVO_BENCH_TABLE");
  return path ? path : NAVO_SAMPLE_TABLE;
}

void BM_LookupEveryDoubleByteValue(benchmark::State& state) {
  static CountingTableFile file;
  static QuietReports reports;
  static navo::codefind::StaticTextBuffer buffer;
  static navo::codefind::CodeTable table(file, reports, buffer);
  if (!navo::codefind::OpenCodeTableFile(table, TablePath())) {
    state.SkipWithError("no code table; build the sample table first");
    couldNotRun = true;
    return;
  }
  long lookups = 0, found = 0;
  file.reads = 0;
  const long allocationsBefore = navo::testing::HeapAllocations();
  for (auto _ : state) {
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFF; ++trail) {
        const char typed[3] = {char(lead), char(trail), 0};
        char codes[navo::codefind::CodesStringSize];
        found += navo::codefind::LookupCharacterCodes(table, typed, codes) && codes[0] != '\0';
        ++lookups;
      }
    }
  }
  const long allocations = navo::testing::HeapAllocations() - allocationsBefore;
  state.counters["lookups_per_second"] =
      benchmark::Counter(double(lookups), benchmark::Counter::kIsRate);
  state.counters["reads_per_lookup"] = double(file.reads) / double(lookups);
  state.counters["heap_allocations_per_lookup"] = double(allocations) / double(lookups);
  state.counters["with_codes_per_pass"] = double(found) / double(state.iterations());
  table.file.Close();
}
BENCHMARK(BM_LookupEveryDoubleByteValue)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

// Fails (exit 1) when no figure could be made: no table, or no benchmark run.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const size_t run = benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (run == 0 || couldNotRun) {
    std::fprintf(stderr, "no figures: the benchmark could not run on %s\n", TablePath());
    return 1;
  }
  return 0;
}
