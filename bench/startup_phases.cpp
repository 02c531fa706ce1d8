// quillorb.exe's start-up with timestamps: the program entry of app/main.cpp, built the same way
// (same libraries, same manifest), timing each step. startup_bench starts it in a fresh folder and
// reads the figures from phases.txt there, written once the shown window is idle:
//   entry     CreateProcess in the starting program -> WinMain (the clock reading at WinMain is
//             written; the performance counter is one clock for all processes)
//   title     SetApplicationTitle (the common controls wait for the first hover)
//   create    TForm_Main::Create (window, controls, FormCreate with the profile load)
//   show      TForm_Main::Show
//   idle      until the message queue is first empty (first paints)
// and, after that and for information, single steps of FormCreate run again on the finished
// window: load (LoadProfile), bar (BuildSpellBar), counters (WriteCounters), find (the look-up of
// the assistant's window).
// With --prewarm, the first use of a font, a window, a tooltip, an edit control and the window
// look-up are timed on their own before Create (pre_* lines). With --profile, the main thread is
// sampled from Create to the end of Show and each sample is written as a line "sample <module of
// the instruction pointer> <innermost return address into this program>"; resolve the addresses
// with the symbol table (x86_64-w64-mingw32-nm -C startup_phases.exe).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/form_main.h"
#include "bench/bench_util.h"
#include "client/window_link.h"
#include "win/app.h"

namespace {

// Steps that cost something the first time in a process, done ahead of TForm_Main::Create (with
// --prewarm on the command line) and timed one by one, so that what is left of `create` shows what
// the first use of each costs there.
void Prewarm(FILE* out) {
  bench::Lap lap;
  HDC screen = GetDC(nullptr);
  HFONT font =
      CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
  HGDIOBJ old = SelectObject(screen, font);
  SIZE extent;
  GetTextExtentPoint32A(screen, "Quillorb", 8, &extent);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  std::fprintf(out, "pre_font %.2f\n", lap());

  HWND host =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  std::fprintf(out, "pre_window %.2f\n", lap());
  HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0,
                             0, 0, 0, host, nullptr, nullptr, nullptr);
  DestroyWindow(tip);
  std::fprintf(out, "pre_tooltip %.2f\n", lap());
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "0", WS_CHILD | WS_VISIBLE, 0, 0, 25, 19,
                              host, nullptr, nullptr, nullptr);
  DestroyWindow(edit);
  DestroyWindow(host);
  std::fprintf(out, "pre_edit %.2f\n", lap());
  quillorb::FindWindowByCaptionPrefix(quillorb::kAssistantCaptionPrefix);
  std::fprintf(out, "pre_find %.2f\n", lap());
}

// A sampling profiler for the main thread, for --profile: every millisecond the thread is stopped
// and its instruction pointer and the innermost return address into this program (found by
// scanning the stack for addresses inside the program's code that follow a call instruction) are
// recorded. Nothing that takes a lock runs while the thread is stopped: no allocation, no module
// look-up; addresses are resolved after sampling ends.
class Sampler {
 public:
  explicit Sampler(HANDLE thread) : thread_(thread) {
    auto* base = reinterpret_cast<const unsigned char*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    imageBase_ = reinterpret_cast<uintptr_t>(base);
    imageEnd_ = imageBase_ + nt->OptionalHeader.SizeOfImage;
    preferredBase_ = nt->OptionalHeader.ImageBase;
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    worker_ = CreateThread(nullptr, 0, &Sampler::Run, this, 0, nullptr);
  }
  ~Sampler() {
    Stop();
    CloseHandle(stop_);
  }
  void Stop() {
    if (!worker_) return;
    SetEvent(stop_);
    WaitForSingleObject(worker_, INFINITE);
    CloseHandle(worker_);
    worker_ = nullptr;
  }
  // One line per sample: the leaf module ("exe" or the DLL's name) and the innermost return
  // address into the program, as an address of the program's preferred image base.
  void Write(FILE* out) const {
    for (size_t i = 0; i < count_; ++i) {
      const Sample& sample = samples_[i];
      std::string leaf = "exe";
      if (!InImage(sample.ip)) {
        HMODULE module = nullptr;
        char name[MAX_PATH] = "?";
        if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                   GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCSTR>(sample.ip), &module)) {
          GetModuleFileNameA(module, name, sizeof name);
        }
        leaf = name;
        leaf = leaf.substr(leaf.find_last_of('\\') + 1);
      }
      const uintptr_t at = InImage(sample.ip) ? sample.ip : sample.caller;
      std::fprintf(out, "sample %s 0x%llx\n", leaf.c_str(),
                   static_cast<unsigned long long>(at ? at - imageBase_ + preferredBase_ : 0));
    }
  }

 private:
  struct Sample {
    uintptr_t ip;
    uintptr_t caller;
  };
  static constexpr size_t kMaxSamples = 20000;

  bool InImage(uintptr_t a) const { return a >= imageBase_ && a < imageEnd_; }

  // Whether the bytes before `a` are a call instruction (E8 rel32, FF /2 forms).
  bool FollowsCall(uintptr_t a) const {
    if (a < imageBase_ + 8 || !InImage(a)) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(a);
    if (p[-5] == 0xE8) return true;
    for (int n = 2; n <= 7; ++n) {
      if (p[-n] == 0xFF && ((p[-n + 1] >> 3) & 7) == 2) return true;
    }
    return false;
  }

  static DWORD WINAPI Run(LPVOID self) {
    static_cast<Sampler*>(self)->Loop();
    return 0;
  }

  void Loop() {
    while (WaitForSingleObject(stop_, 1) == WAIT_TIMEOUT && count_ < kMaxSamples) {
      if (SuspendThread(thread_) == static_cast<DWORD>(-1)) continue;
      CONTEXT context{};
      context.ContextFlags = CONTEXT_CONTROL | CONTEXT_INTEGER;
      if (GetThreadContext(thread_, &context)) {
        Sample sample{static_cast<uintptr_t>(context.Rip), 0};
        const auto* slot = reinterpret_cast<const uintptr_t*>(context.Rsp);
        for (int i = 0; i < 16384 && !sample.caller; ++i) {
          MEMORY_BASIC_INFORMATION mbi;
          if (i % 512 == 0 &&
              (!VirtualQuery(slot + i, &mbi, sizeof mbi) || mbi.State != MEM_COMMIT)) {
            break;
          }
          if (FollowsCall(slot[i])) sample.caller = slot[i];
        }
        samples_[count_++] = sample;
      }
      ResumeThread(thread_);
    }
  }

  HANDLE thread_;
  HANDLE stop_ = nullptr;
  HANDLE worker_ = nullptr;
  uintptr_t imageBase_ = 0;
  uintptr_t imageEnd_ = 0;
  uintptr_t preferredBase_ = 0;
  Sample samples_[kMaxSamples]{};
  size_t count_ = 0;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  const double entry = bench::NowUs();  // the clock is the same in every process
  try {
    const std::string out = (win::ProgramDirectory() + "phases.txt").Utf8();
    FILE* file = std::fopen((out + ".part").c_str(), "w");
    if (!file) return 1;
    std::fprintf(file, "entry_clock %.1f\n", entry);
    if (std::strstr(GetCommandLineA(), "--prewarm")) Prewarm(file);
    bench::Lap lap;
    win::SetApplicationTitle("Quillorb");
    const double titleMs = lap();
    std::unique_ptr<Sampler> sampler;
    if (std::strstr(GetCommandLineA(), "--profile")) {
      HANDLE self = nullptr;
      DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
      sampler = std::make_unique<Sampler>(self);
    }
    lap();
    quillorb::TForm_Main form;
    form.Create();
    const double createMs = lap();
    // TForm_Main::Show, step by step.
    ShowWindow(form.hwnd(), showCommand == SW_SHOWDEFAULT ? SW_SHOWNORMAL : showCommand);
    const double showWindowMs = lap();
    UpdateWindow(form.hwnd());
    const double updateMs = lap();
    form.FormShow();
    const double formShowMs = lap();
    const double showMs = showWindowMs + updateMs + formShowMs;
    if (sampler) {
      sampler->Stop();
      sampler->Write(file);
      sampler.reset();
    }
    lap();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    const double idleMs = lap();
    form.LoadProfile();
    const double loadMs = lap();
    form.BuildSpellBar();
    const double barMs = lap();
    form.WriteCounters();
    const double countersMs = lap();
    quillorb::FindWindowByCaptionPrefix(quillorb::kAssistantCaptionPrefix);
    const double findMs = lap();

    std::fprintf(
        file,
        "show_window %.2f\nupdate %.2f\nform_show %.2f\n"
        "title %.2f\ncreate %.2f\nshow %.2f\nidle %.2f\nload %.2f\nbar %.2f\ncounters %.2f\n"
        "find %.2f\n",
        showWindowMs, updateMs, formShowMs, titleMs, createMs, showMs, idleMs, loadMs, barMs,
        countersMs, findMs);
    std::fclose(file);
    MoveFileA((out + ".part").c_str(), out.c_str());
    win::RunMessageLoop(form.hwnd());
  } catch (...) {
    win::ReportException();
  }
  return 0;
}
