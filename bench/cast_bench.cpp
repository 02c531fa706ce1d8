// Cast into the game client, timed from the call of TSpell::Cast (mode 0, no question) to its
// return, which comes right after the last synthesized key event was handed to the system. The
// client is a window of class "Ultima Online" in this process; the posted characters and the key
// messages are drained between the runs. Heap allocations inside Cast are counted as well.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "client/cast.h"
#include "bench/bench_util.h"
#include "bench/bench_win.h"
#include "model/spell.h"

namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};

using bench::NowUs;

}  // namespace

void* operator new(std::size_t size) {
  if (g_counting) ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

int main() {
  using namespace quillorb;
  bench::RegisterWindowClass("Ultima Online", DefWindowProcA);
  HWND client = CreateWindowExA(0, "Ultima Online", "Ultima Online", WS_OVERLAPPEDWINDOW, 100, 50,
                                640, 480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(client, SW_SHOWNORMAL);
  bench::Drain();

  // The main window's part: rune casting on, no assistant.
  struct Host final : CastHost {
    bool RuneCastingDown() const override { return true; }
    HWND AssistantHandle() override { return nullptr; }
    ClientSearch GameWindowSearch() const override { return {}; }
    void TrustClientProgram(const std::string&) override {}
    HWND QuestionOwner() const override { return nullptr; }
    void CastNotDelivered(CastFailure) override {}
  } host;
  CastPipeline pipeline(&host);

  TSpell spell;
  spell.CastText = "Kal Vas Flam Ort Por";  // 20 characters
  spell.Key = 'Q';
  spell.Alt = false;
  spell.Ctrl = true;
  spell.Shift = false;
  spell.Reagent = {1, 1, 0, 0, 0, 0, 1, 1};
  ReagentCounts stock{};
  ReagentCounts used{};
  stock.fill(5000);

  constexpr int kRuns = 300;
  std::vector<double> samples;
  samples.reserve(kRuns);
  long allocations = 0;
  for (int i = 0; i < kRuns + 20; ++i) {
    g_allocations = 0;
    g_counting = true;
    const double t0 = NowUs();
    const bool cast = spell.Cast(CastMode::IntoGame, stock, used, &pipeline);
    const double t1 = NowUs();
    g_counting = false;
    if (!cast) {
      std::printf("cast_bench: Cast returned false\n");
      return 1;
    }
    if (i >= 20) {  // the first runs warm up
      samples.push_back(t1 - t0);
      allocations = std::max(allocations, g_allocations.load());
    }
    bench::Drain();
  }
  std::sort(samples.begin(), samples.end());
  const double median = samples[samples.size() / 2];
  const double p95 = samples[samples.size() * 95 / 100];
  std::printf(
      "cast_bench: Cast mode 0, 20-character text, %d runs: median %.1f us, p95 %.1f us, "
      "min %.1f us, max %.1f us; target < 1000 us: %s\n",
      kRuns, median, p95, samples.front(), samples.back(), median < 1000.0 ? "OK" : "MISS");
  std::printf("cast_bench: heap allocations inside one Cast: at most %ld\n", allocations);
  DestroyWindow(client);
  return 0;
}
