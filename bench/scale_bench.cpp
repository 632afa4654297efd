// What resources cost as their number grows, in interleaved rounds, as medians with the lowest
// and highest round beside them:
// - Load of spread resources among 10, 1,000, 20,000 and 100,000 (one program of each size,
//   scale_load.cpp), against a std::unordered_map lookup of the same keys; and against Load
//   among 10, which the target compares with;
// - the first Load of a process at each size;
// - the build: the program rebuilt after its resource files (64 bytes each) are touched, with 20
//   and 400 bx_add_resource declarations, against a hand-written assembler file of the same
//   .incbin lines, and what each further declaration costs ((400 - 20) / 380: a difference of
//   two builds, whose spread may cross zero); and configuring 10,000 declarations against one.
// Run: bash scripts/run-benchmarks.sh (which runs this after the reader's benchmarks), or
// scale_bench [--rounds=N] [--no-build].
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Size {
  int resources;
  const char* program;
};
const Size kSizes[] = {
    {10, BX_SCALE_10}, {1000, BX_SCALE_1000}, {20000, BX_SCALE_20000}, {100000, BX_SCALE_100000}};

// Runs a program to its end; its standard output, or an exception if it fails.
std::string Run(const std::vector<std::string>& args, bool quiet = false) {
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("no pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  if (quiet) posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string output;
  char buffer[4096];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
    output.append(buffer, static_cast<std::size_t>(n));
  close(out[0]);
  int status = 0;
  if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    std::string command;
    for (const std::string& a : args) command += a + " ";
    throw std::runtime_error(command + "failed:\n" + output);
  }
  return output;
}

double Seconds(const std::vector<std::string>& args) {
  const auto start = Clock::now();
  Run(args, true);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A row of the table: ours and the baseline in each round, and their ratio.
struct Row {
  std::string figure;
  const char* unit;
  const char* baseline_name;
  const char* target = "-";
  double limit = 0;  // met when the ratio is at most this; 0: only informative
  bool limit_on_ours = false;  // the limit is on our figure itself, not on the ratio
  std::vector<double> ours, base;
};

Row& Add(std::vector<Row>& rows, std::string figure, const char* unit, const char* baseline_name,
         const char* target = "-", double limit = 0, bool limit_on_ours = false) {
  Row row;
  row.figure = std::move(figure);
  row.unit = unit;
  row.baseline_name = baseline_name;
  row.target = target;
  row.limit = limit;
  row.limit_on_ours = limit_on_ours;
  rows.push_back(std::move(row));
  return rows.back();
}

void Print(const std::vector<Row>& rows) {
  std::printf("\n| %-44s | %10s | %10s | %-4s | %-14s | %8s | %-15s | %-9s | %-3s |\n", "figure",
              "BxRes", "baseline", "unit", "baseline is", "ratio", "spread", "target", "met");
  std::printf("|%s|%s|%s|%s|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(),
              std::string(12, '-').c_str(), std::string(12, '-').c_str(),
              std::string(6, '-').c_str(), std::string(16, '-').c_str(),
              std::string(10, '-').c_str(), std::string(17, '-').c_str(),
              std::string(11, '-').c_str(), std::string(5, '-').c_str());
  for (const Row& row : rows) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < row.ours.size(); ++i) ratios.push_back(row.ours[i] / row.base[i]);
    const double ratio = Median(ratios);
    const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
    char spread[32];
    std::snprintf(spread, sizeof spread, "%.2f - %.2f", *low, *high);
    const double judged = row.limit_on_ours ? Median(row.ours) : ratio;
    const char* met = row.limit == 0 ? "-" : judged <= row.limit ? "yes" : "no";
    std::printf("| %-44s | %10.2f | %10.2f | %-4s | %-14s | %8.2f | %-15s | %-9s | %-3s |\n",
                row.figure.c_str(), Median(row.ours), Median(row.base), row.unit,
                row.baseline_name, ratio, spread, row.target, met);
  }
}

// --- The build: projects of N declarations, and of the same N .incbin lines ---

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

struct Project {
  fs::path source, build;
  int resources;
  bool ours;
};

Project MakeProject(const fs::path& root, int n, bool ours) {
  const std::string name = (ours ? "declared_" : "incbin_") + std::to_string(n);
  Project p{root / name, root / (name + "_build"), n, ours};
  std::string cmake = "cmake_minimum_required(VERSION 3.25)\nproject(" + name +
                      (ours ? " CXX)\nadd_subdirectory(\"" BX_SOURCE_DIR "\" bxres)\n"
                            : " CXX ASM)\n") +
                      "add_executable(app main.cpp" + (ours ? "" : " data.S") + ")\n";
  std::string assembly = "  .section .rodata.resources,\"a\",%progbits\n";
  const std::string bytes(64, 'x');
  for (int i = 1; i <= n; ++i) {
    const std::string file = "data/" + std::to_string(i) + ".bin";
    Write(p.source / file, bytes);
    if (ours) {
      cmake += "bx_add_resource(app ID " + std::to_string(i) + " TYPE DATA FILE " + file + ")\n";
    } else {
      assembly += "  .balign 4\n  .incbin \"" + (p.source / file).string() + "\"\n";
    }
  }
  Write(p.source / "CMakeLists.txt", cmake);
  Write(p.source / "main.cpp", "int main() { return 0; }\n");
  if (!ours) Write(p.source / "data.S", assembly);
  return p;
}

void Configure(const fs::path& source, const fs::path& build) {
  Run({BX_CMAKE, "-S", source.string(), "-B", build.string(), "-G", "Ninja",
       "-DCMAKE_BUILD_TYPE=Release", "-DBXRES_BUILD_TESTS=OFF", "-DBXRES_BUILD_DEMO=OFF"},
      true);
}

// The files changed, and the program rebuilt: the declared files, or the assembler file that
// names them (the compiler does not know an .incbin's file).
double Rebuild(const Project& p) {
  const auto now = fs::file_time_type::clock::now();
  if (p.ours) {
    for (int i = 1; i <= p.resources; ++i) {
      fs::last_write_time(p.source / "data" / (std::to_string(i) + ".bin"), now);
    }
  } else {
    fs::last_write_time(p.source / "data.S", now);
  }
  return Seconds({BX_CMAKE, "--build", p.build.string()});
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 11;
  bool build = true;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with("--rounds=")) {
      rounds = std::max(1, std::atoi(argv[i] + 9));
    } else if (arg == "--no-build") {
      build = false;
    }
  }
  std::printf("Resources by number; %d rounds\n", rounds);
  for (const Size& size : kSizes) {
    std::printf("%d resources: %s", size.resources, Run({size.program, "--verify"}).c_str());
  }

  std::vector<Row> rows;
  for (const Size& size : kSizes) {
    Add(rows, "Load among " + std::to_string(size.resources), "ns", "unordered_map");
  }
  for (const Size& size : kSizes) {
    const bool target = size.resources == 20000;
    if (size.resources == 10) continue;
    Add(rows, "Load among " + std::to_string(size.resources) + " vs among 10", "ns",
        "Load among 10", target ? "<= 1.5" : "-", target ? 1.5 : 0);
  }
  for (const Size& size : kSizes) {
    const bool target = size.resources == 20000;
    Add(rows, "First Load among " + std::to_string(size.resources), "us", "among 10",
        target ? "<= 5 ms" : "-", target ? 5000.0 : 0.0, true);
  }
  const std::size_t versus_rows = std::size(kSizes);  // then the Load rows against 10
  const std::size_t first_rows = 2 * std::size(kSizes) - 1;

  std::vector<Project> projects;
  fs::path configure_one, configure_many;
  if (build) {
    const fs::path root = fs::path(BX_BENCH_WORK) / "build_cost";
    std::fprintf(stderr, "Setting up the build projects in %s\n", root.c_str());
    for (const int n : {20, 400}) {
      for (const bool ours : {true, false}) {
        projects.push_back(MakeProject(root, n, ours));
        Configure(projects.back().source, projects.back().build);
        Run({BX_CMAKE, "--build", projects.back().build.string()}, true);
      }
    }
    configure_one = MakeProject(root, 1, true).source;
    configure_many = MakeProject(root, 10000, true).source;
    Add(rows, "Rebuild, 20 declarations", "s", "20 .incbin");
    Add(rows, "Rebuild, 400 declarations", "s", "400 .incbin");
    Add(rows, "Rebuild, each further declaration", "ms", ".incbin line", "<= 15 ms", 15, true);
    Add(rows, "Configure 10,000 declarations", "s", "one", "<= 4 s", 4, true);
  }

  for (int round = 0; round < rounds; ++round) {
    const bool base_first = round % 2 == 1;
    std::vector<double> load(std::size(kSizes)), first(std::size(kSizes));
    for (std::size_t k = 0; k < std::size(kSizes); ++k) {
      // Sizes in turn, forwards and backwards in alternate rounds.
      const std::size_t s = base_first ? std::size(kSizes) - 1 - k : k;
      const Size& size = kSizes[s];
      std::vector<std::string> steady = {size.program, "--steady"};
      if (base_first) steady.push_back("--base-first");
      double ours = 0, base = 0;
      std::sscanf(Run(steady).c_str(), "%lf %lf", &ours, &base);
      rows[s].ours.push_back(ours);
      rows[s].base.push_back(base);
      load[s] = ours;
      std::vector<double> starts;
      for (int start = 0; start < 5; ++start) {
        const std::string i = std::to_string((start * 7919 + round * 104729) % size.resources);
        double ns = 0;
        std::sscanf(Run({size.program, "--first", i}).c_str(), "%lf", &ns);
        starts.push_back(ns / 1e3);
      }
      first[s] = Median(starts);
    }
    for (std::size_t s = 0; s < std::size(kSizes); ++s) {
      if (s > 0) {
        rows[versus_rows + s - 1].ours.push_back(load[s]);
        rows[versus_rows + s - 1].base.push_back(load[0]);
      }
      rows[first_rows + s].ours.push_back(first[s]);
      rows[first_rows + s].base.push_back(first[0]);
    }
    if (build) {
      std::array<double, 4> t{};  // declared 20, incbin 20, declared 400, incbin 400
      for (std::size_t k = 0; k < projects.size(); ++k) {
        const std::size_t i = base_first ? projects.size() - 1 - k : k;
        t[i] = Rebuild(projects[i]);
      }
      Row* build_rows = &rows[rows.size() - 4];
      build_rows[0].ours.push_back(t[0]);
      build_rows[0].base.push_back(t[1]);
      build_rows[1].ours.push_back(t[2]);
      build_rows[1].base.push_back(t[3]);
      build_rows[2].ours.push_back((t[2] - t[0]) / 380 * 1e3);
      build_rows[2].base.push_back((t[3] - t[1]) / 380 * 1e3);
      const fs::path work = fs::path(BX_BENCH_WORK) / "build_cost" / "configure";
      std::array<double, 2> c{};
      for (std::size_t k = 0; k < 2; ++k) {
        const std::size_t i = base_first ? 1 - k : k;
        fs::remove_all(work);
        const auto start = Clock::now();
        Configure(i == 0 ? configure_many : configure_one, work);
        c[i] = std::chrono::duration<double>(Clock::now() - start).count();
      }
      Row& configure = rows.back();
      configure.ours.push_back(c[0]);
      configure.base.push_back(c[1]);
    }
    std::fprintf(stderr, "round %d of %d done\n", round + 1, rounds);
  }
  Print(rows);
  return 0;
}
