// The string grid's costs, in-process under Wine: new texts into all cells of a laid-out 65 x 9
// grid and one paint; a scroll by one row with its repaint (and with the scroll bar's redraw);
// setting a grid up from one cell; repainting one row and the whole grid.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/bench_win.h"
#include "win/form.h"
#include "win/string_grid.h"

namespace {

class BenchForm : public win::Form {
 public:
  BenchForm() {
    CreateForm("QuillorbGridBench", "Grid bench", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 50,
               50, 405, 181, nullptr);
    SetFont(win::Font(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, "Arial")));
    grid = std::make_unique<win::StringGrid>(hwnd(), 100, 4, 4, 397, 173);
  }
  std::unique_ptr<win::StringGrid> grid;
};

const char* const kCodes[] = {"BP", "BM", "GL", "GS", "MR", "NS", "SA", "SS"};

// A grid laid out like the reagent page: a 163-pixel label column and eight narrow ones.
void Fill(win::StringGrid& g, int round) {
  g.SetColCount(9);
  g.SetRowCount(65);
  g.SetDefaultRowHeight(16);
  g.SetColWidth(0, 163);
  for (int c = 1; c < 9; ++c) g.SetColWidth(c, 25);
  g.SetCell(0, 0, "Spell");
  for (int c = 1; c < 9; ++c) g.SetCell(c, 0, kCodes[c - 1]);
  for (int r = 1; r < 65; ++r) {
    const int i = r - 1;
    g.SetCell(0, r,
              std::to_string(i / 8 + 1) + "-" + std::to_string(i % 8 + 1) + " Spell " +
                  std::to_string(i) + (round % 2 ? "" : "."));
    for (int c = 1; c < 9; ++c) g.SetCell(c, r, (r + c + round) % 3 ? kCodes[c - 1] : "");
  }
}

}  // namespace

int main() {
  using bench::NowUs;
  BenchForm form;
  win::StringGrid& g = *form.grid;
  bench::Drain();
  UpdateWindow(form.hwnd());

  constexpr int kRounds = 100;
  auto timed = [](std::vector<double>& into, auto&& step) {
    const double t0 = NowUs();
    step();
    GdiFlush();
    into.push_back(NowUs() - t0);
  };
  // Set up from one cell: counts, widths, texts; the scroll bar appears.
  std::vector<double> setup, fill, scroll, strip, repaint;
  for (int i = 0; i < kRounds / 4; ++i) {
    g.SetRowCount(1);
    g.SetColCount(1);
    UpdateWindow(g.hwnd());
    timed(setup, [&] {
      Fill(g, i);
      UpdateWindow(g.hwnd());
    });
  }
  // The grid laid out: new texts into all 585 cells, then one paint.
  for (int i = 0; i < kRounds; ++i) {
    timed(fill, [&] {
      Fill(g, i);
      UpdateWindow(g.hwnd());
    });
  }
  for (int i = 0; i < kRounds; ++i) {
    // Down one row, then up again, away from the limits.
    timed(scroll, [&] {
      SendMessageA(g.hwnd(), WM_VSCROLL, (i / 20) % 2 ? SB_LINEUP : SB_LINEDOWN, 0);
      UpdateWindow(g.hwnd());
    });
  }
  // The same with the queue drained: the scroll bar's own redraw (posted after the scroll, so
  // that a burst of scrolls draws it once) included.
  std::vector<double> scrollBar;
  for (int i = 0; i < kRounds; ++i) {
    timed(scrollBar, [&] {
      SendMessageA(g.hwnd(), WM_VSCROLL, (i / 20) % 2 ? SB_LINEUP : SB_LINEDOWN, 0);
      UpdateWindow(g.hwnd());
      bench::Drain();
    });
  }
  for (int i = 0; i < kRounds; ++i) {
    timed(strip, [&] {
      RECT row = g.CellRect(0, g.TopRow());
      row.right = g.ClientRect().right;
      InvalidateRect(g.hwnd(), &row, FALSE);
      UpdateWindow(g.hwnd());
    });
  }
  for (int i = 0; i < kRounds; ++i) {
    timed(repaint, [&] {
      InvalidateRect(g.hwnd(), nullptr, FALSE);
      UpdateWindow(g.hwnd());
    });
  }
  auto report = [](const char* what, const std::vector<double>& samples, double target) {
    const auto st = bench::Summarize(samples);
    std::printf("%-34s median %8.1f us (min %.1f, max %.1f)", what, st.median, st.min, st.max);
    if (target > 0)
      std::printf("  target < %.0f us: %s", target, bench::Verdict(st.median < target));
    std::printf("\n");
  };
  report("fill 65 x 9 and paint once:", fill, 5000);
  report("scroll by one row:", scroll, 3000);
  report("scroll by one row, with its bar:", scrollBar, 0);
  report("set up 65 x 9 from 1 x 1 and paint:", setup, 0);
  report("repaint one row:", strip, 0);
  report("repaint all:", repaint, 0);
  return 0;
}
