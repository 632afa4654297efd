// BxRes against what a user would pick instead, measured in one run, with a table of ratios at
// the end: tokens against ICU and iconv, typed reads against SDL2, QDataStream and a plain
// memcpy loop, Load of a small against a large resource, and the demonstration's start against
// a bare Qt program.
#include <benchmark/benchmark.h>
#include <bxres/platform.h>
#include <bxres/resource_reader.h>
#include <iconv.h>
#include <spawn.h>
#include <unistd.h>
#include <sys/wait.h>
#include <unicode/ucnv.h>

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <SDL.h>
#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The large resource: BENCH_TEXT_SIZE bytes of code page 932 text (see gen_bench_text.cpp).
const bx::ReadValue kLargeId = u"TOKENS";
const bx::ReadValue kSmallId = std::int16_t{101};
const bx::ReadValue kType = u"BENCH";
const bx::ReadValue kSampleType = u"CUSTOM";

std::span<const std::uint8_t> LargeBytes() {
  static const bx::ReadValue data = bx::LoadResourceData(kLargeId, kType);
  return data.Bytes().bytes();
}

// --- Tokens --------------------------------------------------------------------------------

void BM_ReadToken(benchmark::State& state) {
  std::size_t tokens = 0;
  for (auto _ : state) {
    BxRes::Load(kLargeId, kType);
    for (;;) {
      const BxRes::ReadValue token = BxRes::ReadToken();
      if (token.IsEmpty()) break;
      benchmark::DoNotOptimize(token);
      ++tokens;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * LargeBytes().size()));
  state.counters["tokens"] = static_cast<double>(tokens) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ReadToken)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_IcuWholeBuffer(benchmark::State& state) {
  const auto text = LargeBytes();
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open("windows-31j", &status);
  std::vector<UChar> out(text.size());
  for (auto _ : state) {
    status = U_ZERO_ERROR;
    const int32_t n = ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                    reinterpret_cast<const char*>(text.data()),
                                    static_cast<int32_t>(text.size()), &status);
    benchmark::DoNotOptimize(n);
    if (U_FAILURE(status)) state.SkipWithError(u_errorName(status));
  }
  ucnv_close(converter);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_IcuWholeBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();

// The module's conversion alone, over the whole buffer as ICU does it: how much of ReadToken's
// time is conversion.
void BM_Cp932WholeBuffer(benchmark::State& state) {
  const auto text = LargeBytes();
  std::vector<char16_t> out(text.size());
  for (auto _ : state) benchmark::DoNotOptimize(bx::Cp932ToUtf16(text, out.data()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Cp932WholeBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();

bool IsSeparator(std::uint8_t b) { return b == ',' || b == ' ' || b == '\r' || b == '\t'; }

void BM_IconvPerToken(benchmark::State& state) {
  const auto text = LargeBytes();
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  std::vector<char16_t> out(4096);
  for (auto _ : state) {
    std::size_t i = 0;
    while (i < text.size()) {
      std::size_t end = i;
      while (end < text.size() && !IsSeparator(text[end])) ++end;
      char* in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(text.data() + i));
      std::size_t in_left = end - i;
      char* o = reinterpret_cast<char*>(out.data());
      std::size_t o_left = out.size() * sizeof(char16_t);
      iconv(cd, &in, &in_left, &o, &o_left);
      benchmark::DoNotOptimize(out.data());
      i = end + 1;
    }
  }
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_IconvPerToken)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- Typed reads ---------------------------------------------------------------------------
// Each benchmark iteration reads the large resource from its start to its end, one value at a
// time, and hands every value to Consume, which makes the compiler produce it without making it
// forget what it keeps in registers (benchmark::DoNotOptimize would, for every loop alike).
// The figure is the time per value read.

template <class T>
inline void Consume(T value) {
  // In a register: a memory operand would let the compiler skip the load being measured.
  if constexpr (std::is_floating_point_v<T>) {
    Consume(std::bit_cast<std::uint64_t>(static_cast<double>(value)));
  } else {
    asm volatile("" : : "r"(value));
  }
}

template <class T>
void CountReads(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() *
                                                    (LargeBytes().size() / sizeof(T))));
}

template <class T>
void BM_BxRes(benchmark::State& state) {
  for (auto _ : state) {
    BxRes::Load(kLargeId, kType);
    for (;;) {
      const BxRes::ReadValue v = sizeof(T) == 4 ? BxRes::ReadLong() : BxRes::ReadDouble();
      if (v.IsEmpty()) break;
      if constexpr (sizeof(T) == 4) {
        Consume(v.Long());
      } else {
        Consume(v.Double());
      }
    }
  }
  CountReads<T>(state);
}
BENCHMARK_TEMPLATE(BM_BxRes, std::int32_t)->Name("BM_BxRes/ReadLong");
BENCHMARK_TEMPLATE(BM_BxRes, double)->Name("BM_BxRes/ReadDouble");

template <class T>
void BM_Memcpy(benchmark::State& state) {
  const auto bytes = LargeBytes();
  for (auto _ : state) {
    for (std::size_t pos = 0; bytes.size() - pos >= sizeof(T); pos += sizeof(T)) {
      T v;
      std::memcpy(&v, bytes.data() + pos, sizeof v);
      Consume(v);
    }
  }
  CountReads<T>(state);
}
BENCHMARK_TEMPLATE(BM_Memcpy, std::int32_t)->Name("BM_Memcpy/Long");
BENCHMARK_TEMPLATE(BM_Memcpy, double)->Name("BM_Memcpy/Double");

template <class T>
void BM_Sdl(benchmark::State& state) {
  const auto bytes = LargeBytes();
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  for (auto _ : state) {
    SDL_RWseek(rw, 0, RW_SEEK_SET);
    for (std::size_t n = bytes.size() / sizeof(T); n > 0; --n) {
      if constexpr (sizeof(T) == 4) {
        Consume(SDL_ReadLE32(rw));
      } else {
        Consume(SDL_ReadLE64(rw));
      }
    }
  }
  SDL_RWclose(rw);
  CountReads<T>(state);
}
BENCHMARK_TEMPLATE(BM_Sdl, std::int32_t)->Name("BM_Sdl/Long");
BENCHMARK_TEMPLATE(BM_Sdl, double)->Name("BM_Sdl/Double");

template <class T>
void BM_QDataStream(benchmark::State& state) {
  const auto bytes = LargeBytes();
  const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<qsizetype>(bytes.size()));
  for (auto _ : state) {
    QDataStream in(data);
    in.setByteOrder(QDataStream::LittleEndian);
    in.setFloatingPointPrecision(QDataStream::DoublePrecision);
    for (std::size_t n = bytes.size() / sizeof(T); n > 0; --n) {
      T v;
      in >> v;
      Consume(v);
    }
  }
  CountReads<T>(state);
}
BENCHMARK_TEMPLATE(BM_QDataStream, qint32)->Name("BM_QDataStream/Long");
BENCHMARK_TEMPLATE(BM_QDataStream, double)->Name("BM_QDataStream/Double");

// --- Load ----------------------------------------------------------------------------------

void BM_Load(benchmark::State& state, const bx::ReadValue* id, const bx::ReadValue* type) {
  for (auto _ : state) BxRes::Load(*id, *type);
}
BENCHMARK_CAPTURE(BM_Load, 28B, &kSmallId, &kSampleType);
BENCHMARK_CAPTURE(BM_Load, 64MiB, &kLargeId, &kType);

// --- The demonstration's start -------------------------------------------------------------

// Runs `program` on Qt's off-screen platform until it has shown its window and quit; returns
// the peak resident memory in KiB that it reports as it exits.
long RunToShown(const char* program, benchmark::State& state) {
  std::vector<std::string> env_strings;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0) env_strings.emplace_back(*e);
  }
  env_strings.emplace_back("QT_QPA_PLATFORM=offscreen");
  std::vector<char*> env;
  for (auto& s : env_strings) env.push_back(s.data());
  env.push_back(nullptr);
  int out[2];
  if (pipe(out) != 0) {
    state.SkipWithError("no pipe");
    return 0;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  char* argv[] = {const_cast<char*>(program), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, env.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string report;
  char buffer[256];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
  close(out[0]);
  int status = 0;
  if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    state.SkipWithError("the program failed");
    return 0;
  }
  const std::size_t at = report.find("VmHWM:");
  return at == std::string::npos ? 0 : std::strtol(report.c_str() + at + 6, nullptr, 10);
}

void BM_Start(benchmark::State& state, const char* program) {
  double peak_kib = 0;
  for (auto _ : state) peak_kib += static_cast<double>(RunToShown(program, state));
  state.counters["peak_MiB"] = peak_kib / 1024 / static_cast<double>(state.iterations());
}
// Process start-up drifts with the machine's state: the median of five runs of 30 starts each.
BENCHMARK_CAPTURE(BM_Start, demo, BX_DEMO_START)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Iterations(30)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Start, bare_qt, BX_BARE_QT)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Iterations(30)->Repetitions(5)->ReportAggregatesOnly(true);

// --- The table of ratios -------------------------------------------------------------------

// Keeps each benchmark's figures (medians when repeated) while the console shows them.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  struct Figures {
    double ns = 0;         // real time per iteration
    double mb_per_s = 0;   // input throughput, where the benchmark counts bytes
    double ns_per_item = 0;  // time per value, where the benchmark counts values
    double peak_mib = 0;   // peak memory, for the start benchmarks
  };
  std::map<std::string, Figures> figures;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      Figures& f = figures[run.run_name.function_name];
      f.ns = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
      if (auto it = run.counters.find("bytes_per_second"); it != run.counters.end()) {
        f.mb_per_s = it->second.value / 1e6;
      }
      if (auto it = run.counters.find("items_per_second"); it != run.counters.end()) {
        f.ns_per_item = 1e9 / it->second.value;
      }
      if (auto it = run.counters.find("peak_MiB"); it != run.counters.end()) {
        f.peak_mib = it->second.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

void PrintRatios(const RatioReporter& reporter) {
  auto get = [&](const char* name) {
    auto it = reporter.figures.find(name);
    return it != reporter.figures.end() ? it->second : RatioReporter::Figures{};
  };
  auto line = [](const char* figure, double ours, double base, const char* unit, double ratio,
                 const char* target, bool met) {
    std::printf("| %-38s | %12.2f | %12.2f | %-5s | %6.2f | %-10s | %-3s |\n", figure, ours, base,
                unit, ratio, target, met ? "yes" : "no");
  };
  std::printf("\n| %-38s | %12s | %12s | %-5s | %6s | %-10s | %-3s |\n", "figure", "BxRes",
              "baseline", "unit", "ratio", "target", "met");
  std::printf("|%s|%s|%s|%s|%s|%s|%s|\n", std::string(40, '-').c_str(),
              std::string(14, '-').c_str(), std::string(14, '-').c_str(),
              std::string(7, '-').c_str(), std::string(8, '-').c_str(),
              std::string(12, '-').c_str(), std::string(5, '-').c_str());
  const auto token = get("BM_ReadToken").mb_per_s;
  const auto icu = get("BM_IcuWholeBuffer").mb_per_s;
  const auto iconv = get("BM_IconvPerToken").mb_per_s;
  line("ReadToken vs ICU whole buffer", token, icu, "MB/s", token / icu, ">= 1.0", token >= icu);
  line("ReadToken vs iconv per token", token, iconv, "MB/s", token / iconv, "-", true);
  const auto whole = get("BM_Cp932WholeBuffer").mb_per_s;
  line("Cp932ToUtf16 vs ICU, both whole buffer", whole, icu, "MB/s", whole / icu, "-", true);
  for (const char* kind : {"Long", "Double"}) {
    const std::string ours_name = std::string("BM_BxRes/Read") + kind;
    const double ours = get(ours_name.c_str()).ns_per_item;
    const double sdl = get((std::string("BM_Sdl/") + kind).c_str()).ns_per_item;
    const double qds = get((std::string("BM_QDataStream/") + kind).c_str()).ns_per_item;
    const double mem = get((std::string("BM_Memcpy/") + kind).c_str()).ns_per_item;
    const bool is_long = kind[0] == 'L';
    line((std::string("Read") + kind + " vs SDL_ReadLE" + (is_long ? "32" : "64")).c_str(), ours,
         sdl, "ns", ours / sdl, is_long ? "<= 0.33" : "-", !is_long || ours * 3 <= sdl);
    line((std::string("Read") + kind + " vs QDataStream").c_str(), ours, qds, "ns", ours / qds,
         "-", true);
    line((std::string("Read") + kind + " vs memcpy loop").c_str(), ours, mem, "ns", ours / mem,
         is_long ? "<= 2.5" : "-", !is_long || ours <= 2.5 * mem);
  }
  const double small = get("BM_Load/28B").ns;
  const double large = get("BM_Load/64MiB").ns;
  line("Load 64 MiB vs Load 28 bytes", large, small, "ns", large / small, "<= 2.0",
       large <= 2 * small);
  const auto demo = get("BM_Start/demo");
  const auto bare = get("BM_Start/bare_qt");
  line("Demonstration start vs bare Qt: time", demo.ns / 1e6, bare.ns / 1e6, "ms",
       demo.ns / bare.ns, "<= 1.05", demo.ns <= 1.05 * bare.ns);
  line("Demonstration start vs bare Qt: memory", demo.peak_mib, bare.peak_mib, "MiB",
       demo.peak_mib / bare.peak_mib, "<= 1.05", demo.peak_mib <= 1.05 * bare.peak_mib);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;  // plain text: the table goes into documents as it is
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintRatios(reporter);
  benchmark::Shutdown();
  return 0;
}
