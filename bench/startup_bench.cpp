// Start-up time, program size and memory of quillorb.exe.
//
// Start-up: from CreateProcess to the main window being visible (the program's visible window of
// its class, polled in a tight loop), against minimal_window.exe, which only registers a
// class, creates and shows a window and runs a message loop. Each program is copied into a fresh
// folder for every start (quillorb.exe with spells.txt beside it), the two are started
// alternately, and each is closed with WM_CLOSE and waited for before the next start. One untimed
// start of each comes first.
//
// Memory: one more start of each; once the window is shown and the program is idle, its
// PROCESS_MEMORY_COUNTERS_EX. Under Wine the same process is also looked up in the Linux /proc
// folder (through drive Z:) by the folder in its command line, for its resident size there.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "bench/bench_util.h"

namespace {

constexpr int kStarts = 15;
constexpr double kTargetRatio = 1.3;
constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kSizeTargetMiB = 2;
constexpr double kMemoryTargetMiB = 16;
constexpr DWORD kTimeoutMs = 30000;

struct Program {
  const char* exe;
  const char* windowClass;
  bool withSpells;
};

const Program kQuillorb{"quillorb.exe", "TForm_Main", true};
const Program kMinimal{"minimal_window.exe", "QuillorbMinimalWindow", false};
const Program kMinimalCc{"minimal_window_cc.exe", "QuillorbMinimalWindow", false};
const Program kPhases{"startup_phases.exe", "TForm_Main", true};

// A program started in a fresh folder; closed with WM_CLOSE (or ended) when it goes.
class Started {
 public:
  Started(const Program& program, const std::string& tag, const std::string& arguments = "")
      : program_(program) {
    folder_ = bench::NewTempFolder(tag);
    const std::string exe = folder_ + program.exe;
    bench::CopyOrThrow(bench::BinDir() + program.exe, exe);
    if (program.withSpells) {
      bench::CopyOrThrow(bench::BinDir() + "spells.txt", folder_ + "spells.txt");
    }
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    const double t0 = bench::NowUs();
    startUs_ = t0;
    const PROCESS_INFORMATION pi = bench::StartProgram(commandLine, folder_);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    while (!(window_ = bench::VisibleWindowOf(program.windowClass, pid_))) {
      if (bench::NowUs() - t0 > kTimeoutMs * 1000.0 || WaitForSingleObject(process_, 0) == 0) {
        throw std::runtime_error(std::string(program.exe) + ": no window appeared");
      }
    }
    elapsedUs_ = bench::NowUs() - t0;
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  ~Started() { Close(); }

  // Posts WM_CLOSE and waits for the program to end; returns the microseconds that took.
  double Close() {
    if (!process_) return 0;
    const double t0 = bench::NowUs();
    if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, kTimeoutMs) != WAIT_OBJECT_0) {
      std::printf("  (%s did not end after WM_CLOSE; ended)\n", program_.exe);
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, kTimeoutMs);
    }
    const double elapsed = bench::NowUs() - t0;
    CloseHandle(process_);
    process_ = nullptr;
    bench::RemoveFolder(folder_);
    return elapsed;
  }

  double ElapsedUs() const { return elapsedUs_; }
  double StartUs() const { return startUs_; }
  HANDLE Process() const { return process_; }
  const std::string& Folder() const { return folder_; }

 private:
  Program program_;
  std::string folder_;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND window_ = nullptr;
  double elapsedUs_ = 0;
  double startUs_ = 0;
};

void PrintTimes(const char* name, const bench::Stats& s) {
  std::printf(
      "  %-20s median %7.1f ms   min %7.1f   max %7.1f   spread (max-min) %7.1f   (n=%zu)\n", name,
      s.median / 1000, s.min / 1000, s.max / 1000, (s.max - s.min) / 1000, s.count);
}

void StartupTimes() {
  std::printf(
      "Start to window shown (CreateProcess -> its visible window), %d starts\n"
      "each, alternately, every start in a fresh folder:\n",
      kStarts);
  const Program programs[] = {kQuillorb, kMinimal, kMinimalCc};
  for (const Program& p : programs) Started warm(p, "warm");
  std::vector<double> times[3];
  std::vector<double> closes[3];
  for (int i = 0; i < kStarts; ++i) {
    for (size_t k = 0; k < 3; ++k) {
      Started started(programs[k], "start");
      times[k].push_back(started.ElapsedUs());
      closes[k].push_back(started.Close());
    }
  }
  const auto q = bench::Summarize(times[0]), m = bench::Summarize(times[1]),
             cc = bench::Summarize(times[2]);
  PrintTimes("quillorb.exe", q);
  PrintTimes("minimal_window.exe", m);
  std::printf("  each start (ms), quillorb / minimal:");
  for (size_t i = 0; i < times[0].size(); ++i) {
    std::printf("%s%.0f/%.0f", i % 8 ? "  " : "\n    ", times[0][i] / 1000, times[1][i] / 1000);
  }
  const double ratio = q.median / m.median;
  std::printf(
      "\n  quillorb takes %.2f times the minimal program, median to median (target at most "
      "%.1f)   %s\n",
      ratio, kTargetRatio, bench::Verdict(ratio <= kTargetRatio));
  std::printf("  fastest to fastest (least disturbed by other load): %.2f times\n", q.min / m.min);
  std::printf(
      "\n  for comparison, the minimal program with quillorb.exe's manifest (common controls 6)\n"
      "  and InitCommonControlsEx:\n");
  PrintTimes("minimal_window_cc", cc);
  std::printf(
      "\n  close (WM_CLOSE -> process ended; quillorb saves users.ini, profile, spells.txt):\n");
  PrintTimes("quillorb.exe", bench::Summarize(closes[0]));
  PrintTimes("minimal_window.exe", bench::Summarize(closes[1]));
  PrintTimes("minimal_window_cc", bench::Summarize(closes[2]));
}

// quillorb.exe's start-up steps, timed from inside by startup_phases.exe; every other run with
// the first uses of fonts, windows and controls timed ahead of Create.
void StartupPhases() {
  constexpr int kRuns = 6;
  static const char* const kMeaning[][2] = {
      {"entry", "CreateProcess -> WinMain (loader, DLLs, runtime)"},
      {"pre_font", "first font: CreateFontA Arial + text extent"},
      {"pre_window", "first window: a STATIC popup"},
      {"pre_tooltip", "first tooltip window (common controls)"},
      {"pre_edit", "first EDIT control"},
      {"pre_find", "look-up of the assistant's window"},
      {"title", "SetApplicationTitle"},
      {"create", "TForm_Main::Create (window, controls, FormCreate)"},
      {"show", "TForm_Main::Show, made of:"},
      {"show_window", "  ShowWindow"},
      {"update", "  UpdateWindow (first paint)"},
      {"form_show", "  FormShow (topmost)"},
      {"idle", "first message queue drain (first paints)"},
      {"load", "again, warm: LoadProfile"},
      {"bar", "again, warm: BuildSpellBar"},
      {"counters", "again, warm: WriteCounters"},
      {"find", "again, warm: look-up of the assistant's window"}};
  constexpr size_t kCount = sizeof kMeaning / sizeof kMeaning[0];
  std::vector<double> values[2][kCount];
  for (int run = 0; run < 2 * kRuns; ++run) {
    const int prewarm = run % 2;
    Started p(kPhases, "phases", prewarm ? "--prewarm" : "");
    const std::string file = p.Folder() + "phases.txt";
    std::string text;
    const double t0 = bench::NowUs();
    while (!bench::ReadAll(file, text) && bench::NowUs() - t0 < kTimeoutMs * 1000.0) Sleep(5);
    for (size_t k = 0; k < kCount; ++k) {
      // Whole names at line starts: "show" must not match "form_show".
      const std::string name = "\n" + std::string(k == 0 ? "entry_clock" : kMeaning[k][0]) + " ";
      const size_t at = ("\n" + text).find(name);
      if (at == std::string::npos) continue;
      double value = std::strtod(text.c_str() + at + name.size() - 1, nullptr);
      if (k == 0) value = (value - p.StartUs()) / 1000;
      values[prewarm][k].push_back(value);
    }
  }
  std::printf(
      "\nquillorb.exe start-up steps, timed inside the program (startup_phases.exe: the\n"
      "program entry with timestamps; %d runs each, median ms):\n"
      "                plain   prewarmed\n",
      kRuns);
  for (size_t k = 0; k < kCount; ++k) {
    const auto plain = bench::Summarize(values[0][k]);
    const auto pre = bench::Summarize(values[1][k]);
    char left[16] = "       -";
    if (plain.count) std::snprintf(left, sizeof left, "%8.2f", plain.median);
    std::printf("  %-11s %s   %8.2f   %s\n", kMeaning[k][0], left, pre.median, kMeaning[k][1]);
  }
}

void ProgramSize() {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  const std::string exe = bench::BinDir() + "quillorb.exe";
  if (!GetFileAttributesExA(exe.c_str(), GetFileExInfoStandard, &data)) {
    std::printf("quillorb.exe not found\n");
    return;
  }
  const double bytes = static_cast<double>(data.nFileSizeLow) +
                       static_cast<double>(data.nFileSizeHigh) * 4294967296.0;
  std::printf("\nquillorb.exe size: %.0f bytes = %.2f MiB (target below %.0f MiB)   %s\n", bytes,
              bytes / kMiB, kSizeTargetMiB, bench::Verdict(bytes < kSizeTargetMiB * kMiB));
}

// The /proc folder (through drive Z:, where Wine maps the Linux root) of the Linux process whose
// command line names `folder`; empty outside Wine or when there is none.
std::string LinuxProcFolderOf(const std::string& folder) {
  std::string tail = folder.substr(0, folder.size() - 1);
  tail = tail.substr(tail.find_last_of('\\') + 1);  // the folder's own name
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA("Z:\\proc\\*", &fd);
  if (find == INVALID_HANDLE_VALUE) return {};
  std::string found;
  do {
    const std::string name = fd.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string commandLine;
    if (!bench::ReadAll("Z:\\proc\\" + name + "\\cmdline", commandLine)) continue;
    if (commandLine.find(tail) != std::string::npos) {
      found = "Z:\\proc\\" + name + "\\";
      break;
    }
  } while (FindNextFileA(find, &fd));
  FindClose(find);
  return found;
}

double StatusKiB(const std::string& status, const char* field) {
  const size_t at = status.find(field);
  if (at == std::string::npos) return -1;
  return std::strtod(status.c_str() + at + std::string(field).size(), nullptr);
}

bool Memory(const Program& program, bool judge) {
  Started p(program, "memory");
  WaitForInputIdle(p.Process(), 5000);
  Sleep(1000);  // let start-up work (timers, first paints) settle
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  if (!GetProcessMemoryInfo(p.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                            sizeof pmc)) {
    std::printf("  GetProcessMemoryInfo failed (%lu)\n", GetLastError());
    return false;
  }
  const double priv = static_cast<double>(pmc.PrivateUsage) / kMiB;
  const double ws = static_cast<double>(pmc.WorkingSetSize) / kMiB;
  const double peak = static_cast<double>(pmc.PeakWorkingSetSize) / kMiB;
  std::printf("  %-20s PrivateUsage %6.2f MiB   WorkingSetSize %6.2f MiB   peak WS %6.2f MiB",
              program.exe, priv, ws, peak);
  const bool met = priv < kMemoryTargetMiB && ws < kMemoryTargetMiB;
  if (judge) std::printf("   %s", bench::Verdict(met));
  std::printf("\n");
  const std::string proc = LinuxProcFolderOf(p.Folder());
  std::string status, rollup;
  if (proc.empty() || !bench::ReadAll(proc + "status", status)) {
    std::printf("  %-20s (its Linux process was not found under Z:\\proc)\n", "");
  } else {
    std::printf("  %-20s Linux: VmRSS %6.2f MiB = RssAnon %6.2f + RssFile %6.2f + RssShmem %5.2f\n",
                "", StatusKiB(status, "VmRSS:") / 1024, StatusKiB(status, "RssAnon:") / 1024,
                StatusKiB(status, "RssFile:") / 1024, StatusKiB(status, "RssShmem:") / 1024);
    if (bench::ReadAll(proc + "smaps_rollup", rollup)) {
      // Clean private pages are mostly the program's own file, mapped by it alone: the system
      // may drop them and read them again. Dirty ones are what the process really holds.
      std::printf(
          "  %-20s        private resident (Private_Clean + Private_Dirty) %6.2f MiB"
          " = %.2f + %.2f\n",
          "", (StatusKiB(rollup, "Private_Clean:") + StatusKiB(rollup, "Private_Dirty:")) / 1024,
          StatusKiB(rollup, "Private_Clean:") / 1024, StatusKiB(rollup, "Private_Dirty:") / 1024);
    }
  }
  return met;
}

int Run() {
  StartupTimes();
  StartupPhases();
  ProgramSize();
  std::printf(
      "\nMemory of the running program, 1 s after its window was shown (target: private\n"
      "usage and working set below %.0f MiB; minimal_window.exe for comparison):\n",
      kMemoryTargetMiB);
  Memory(kQuillorb, true);
  Memory(kMinimal, false);
  return 0;
}

}  // namespace

int main() {
  return bench::RunMain("startup_bench", Run);
}
