// Finding the game client with 200 top-level windows of another program open, as each kind of
// client is found, against the classic client's one FindWindowA of before. Each case is a second
// copy of this program ("--windows KIND") that opens the 200 windows and the client window, then
// waits; the client window is made first, so that it lies below all of them in the Z order.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/bench_win.h"
#include "client/game_window.h"

namespace {

constexpr int kWindows = 200;
constexpr int kRuns = 300;
constexpr char kReadyClass[] = "QuillorbDiscoveryBenchReady";

HWND MakeWindow(const char* className, const char* caption) {
  bench::RegisterWindowClass(className,
                             DefWindowProcA);  // fails harmlessly for a class made before
  return CreateWindowExA(WS_EX_TOOLWINDOW, className, caption, WS_POPUP | WS_VISIBLE, 0, 0, 20, 20,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The second program: the client of `kind` (classic, open, caption, none), then the 200 windows.
int RunWindows(const std::string& kind) {
  if (kind == "classic") MakeWindow("Ultima Online", "Ultima Online");
  if (kind == "open") MakeWindow("SDL_app", "Bob - ClassicUO - 1.0.0.0");
  if (kind == "caption") MakeWindow("ShardClient", "My Shard - Bob");
  for (int i = 0; i < kWindows; ++i) {
    MakeWindow("BenchFiller", ("Some program's window " + std::to_string(i)).c_str());
  }
  MakeWindow(kReadyClass, "ready");
  bench::RunMessageLoop();
  return 0;
}

struct Case {
  const char* kind;
  const char* what;
  bool fromHistory;
};

}  // namespace

static int Run(int argc, char** argv) {
  using namespace quillorb;
  if (argc > 2 && std::strcmp(argv[1], "--windows") == 0) return RunWindows(argv[2]);

  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const Case cases[] = {
      {"classic", "classic client (FindWindowA of before)", false},
      {"classic", "classic client", false},
      {"open", "ClassicUO, after login", false},
      {"caption", "player's caption, had in front", true},
      {"caption", "player's caption, never in front, lowest", false},
      {"none", "no client (every window read)", false},
  };
  std::printf("discovery_bench: %d top-level windows of another program, %d runs each\n", kWindows,
              kRuns);
  double before = 0;
  bool ok = true;
  for (size_t c = 0; c < std::size(cases); ++c) {
    const Case& k = cases[c];
    std::string command = std::string("\"") + self + "\" --windows " + k.kind;
    const PROCESS_INFORMATION pi = bench::StartProgram(command);
    for (int i = 0; i < 1000 && !FindWindowA(kReadyClass, nullptr); ++i) Sleep(10);
    ForegroundHistory history;
    // The player confirmed the client's program (this one, started again) at the first cast.
    const ClientSearch search{"My Shard - ", &history, "discovery_bench.exe"};
    if (k.fromHistory) history.Note(FindWindowA("ShardClient", nullptr));
    std::vector<double> samples;
    HWND found = nullptr;
    for (int i = 0; i < kRuns; ++i) {
      const double t0 = bench::NowUs();
      found = c == 0 ? FindWindowA(kClientWindowClass, nullptr) : FindClient(search).window;
      samples.push_back(bench::NowUs() - t0);
    }
    const bench::Stats s = bench::Summarize(samples);
    if (c == 0) before = s.median;
    const bool expected = (std::strcmp(k.kind, "none") == 0) == (found == nullptr);
    ok = ok && expected;
    std::printf("  %-42s median %7.1f us (min %.1f, max %.1f), %s; adds %+.1f us\n", k.what,
                s.median, s.min, s.max, expected ? "found as it should" : "WRONG WINDOW",
                s.median - before);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
  }
  std::printf("discovery_bench: target: adds < 1000 us to a cast\n");
  return ok ? 0 : 1;
}

int main(int argc, char** argv) {
  return bench::RunMain("discovery_bench", [&] { return Run(argc, argv); });
}
