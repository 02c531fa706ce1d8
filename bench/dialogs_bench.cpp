// The strip's dialogs, in-process under Wine: opening each one (create, fill, first paint of the
// window and all its controls) and a change of character (save, load, rebuild the bar, counters),
// the work of SpeedButton_SaveClick after the dialog. The program runs from a copy of itself in a
// scratch folder, so that the profiles it writes land there.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/form_main.h"
#include "bench/bench_util.h"
#include "dialogs/bank_dialog.h"
#include "dialogs/chr_list.h"
#include "dialogs/statistic.h"

namespace {

using bench::NowUs;

void Drain() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Copies this program and spells.txt into a scratch folder and runs the copy there.
int RunFromScratchFolder() {
  const std::string folder = bench::NewTempFolder("dialogs");
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  const std::string exe = folder + "dialogs_bench.exe";
  bench::CopyOrThrow(self, exe);
  bench::CopyOrThrow(bench::BinDir() + "spells.txt", folder + "spells.txt");
  for (const char* name : {"Anna", "Bob", "Carl"}) {
    bench::WriteOrThrow(folder + "quillorb - " + name + ".ini", "[Reagent]\r\nReagent0=7\r\n");
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + exe + "\" --here";
  if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      folder.c_str(), &si, &pi)) {
    std::fprintf(stderr, "cannot start %s\n", exe.c_str());
    return 1;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  bench::RemoveFolder(folder);
  return static_cast<int>(code);
}

struct Opening {
  std::vector<double> total, create;
};

// Opens a dialog `rounds` times: the time from construction until it and its controls are painted,
// and the part of it spent creating and filling.
template <typename Dialog>
Opening TimeOpening(int rounds, const std::function<std::unique_ptr<Dialog>()>& make) {
  Opening times;
  for (int i = 0; i < rounds; ++i) {
    const double t0 = NowUs();
    std::unique_ptr<Dialog> dialog = make();
    const double t1 = NowUs();
    ShowWindow(dialog->hwnd(), SW_SHOWNOACTIVATE);
    RedrawWindow(dialog->hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    times.total.push_back(NowUs() - t0);
    times.create.push_back(t1 - t0);
    dialog.reset();  // not timed: hiding waits on the display without a window manager
    Drain();
  }
  return times;
}

void Report(const char* what, const std::vector<double>& us, double targetMs) {
  const bench::Stats s = bench::Summarize(us);
  std::printf("%-24s median %6.2f ms (first %.2f, min %.2f, max %.2f)  target < %.0f ms: %s\n",
              what, s.median / 1000, us.front() / 1000, s.min / 1000, s.max / 1000, targetMs,
              bench::Verdict(s.median / 1000 < targetMs));
}

void Report(const char* what, const Opening& o) {
  Report(what, o.total, 50);
  std::printf("  of which create + fill: median %6.2f ms\n",
              bench::Summarize(o.create).median / 1000);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) != "--here") return RunFromScratchFolder();

  quillorb::TForm_Main form;
  form.Create();
  form.Show(SW_SHOWNOACTIVATE);
  Drain();
  for (size_t i = 0; i < form.Spells.size(); ++i) {
    form.Spells[i].CastCount = static_cast<int32_t>(i % 7);
  }
  form.ReagentUsed = {5, 18, 31, 44, 57, 70, 83, 96};
  std::array<HBITMAP, quillorb::kReagentCount> icons{};
  for (int r = 0; r < quillorb::kReagentCount; ++r) {
    icons[static_cast<size_t>(r)] = form.ReagentImage(r).BitmapHandle();
  }

  constexpr int kOpenings = 5;
  Report("bank dialog opens:", TimeOpening<quillorb::TBankReagentDialog>(kOpenings, [&] {
           form.ReadCounters();
           const quillorb::BankVisit visit{{form.BackpackReagent, form.BankReagent},
                                           form.AdjustRegsInBackpack};
           return std::make_unique<quillorb::TBankReagentDialog>(form.hwnd(), icons, visit);
         }));
  Report("character list opens:", TimeOpening<quillorb::TForm_ChrList>(kOpenings, [&] {
           auto d = std::make_unique<quillorb::TForm_ChrList>(
               form.hwnd(), form.ConfigDialogFont(), quillorb::Path::FromUtf8(bench::BinDir()),
               quillorb::CharacterChoice{});
           d->FormShow();
           return d;
         }));
  Report("analysis dialog opens:", TimeOpening<quillorb::TForm_Statistical>(kOpenings, [&] {
           return std::make_unique<quillorb::TForm_Statistical>(
               form.hwnd(), icons,
               quillorb::AnalysisData{form.ReagentUsed, form.ReagentCost, form.Spells});
         }));

  // A change of character: what SpeedButton_SaveClick does once the dialog has closed.
  std::vector<double> switches, saves, loads;
  const char* names[] = {"Anna", "Bob", "", "Carl"};
  for (int i = 0; i < 40; ++i) {
    const double t0 = NowUs();
    form.SaveProfile();
    const double t1 = NowUs();
    form.SetUser(names[i % 4]);
    form.LoadProfile();
    const double t2 = NowUs();
    form.BuildSpellBar();
    form.WriteCounters();
    form.PaintBox1->Repaint();
    UpdateWindow(form.hwnd());
    GdiFlush();
    switches.push_back(NowUs() - t0);
    saves.push_back(t1 - t0);
    loads.push_back(t2 - t1);
  }
  Report("character switch:", switches, 15);
  std::printf("  of which save: median %6.2f ms, load: median %6.2f ms\n",
              bench::Summarize(saves).median / 1000, bench::Summarize(loads).median / 1000);
  return 0;
}
