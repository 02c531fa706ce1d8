#include "tests/harness/harness.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "win/bitmap.h"
#include "win/dpi.h"
#include "win/handles.h"
#include "win/utf8.h"

namespace harness {

std::wstring Wide(const std::string& utf8) {
  return win::Utf8ToWide(utf8);
}

std::string Utf8(const std::wstring& wide) {
  return win::WideToUtf8(wide);
}

std::string BinDir() {
  wchar_t path[MAX_PATH * 2] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  std::string p = Utf8(path);
  return p.substr(0, p.find_last_of("\\/") + 1);
}

std::string NewTempFolder(const std::string& tag) {
  static int counter = 0;
  wchar_t base[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, base);
  for (;;) {
    std::string folder = Utf8(base) + "quillorb-" + tag + "-" +
                         std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) +
                         "\\";
    if (CreateDirectoryW(Wide(folder).c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + folder);
  }
}

void RemoveFolder(const std::string& folder) {
  // Only a folder given by its full path: an empty one would mean the current folder.
  if (folder.size() < 4 || folder.back() != '\\') return;
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW(Wide(folder + "*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = Utf8(fd.cFileName);
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(folder + name + "\\");
      } else {
        SetFileAttributesW(Wide(folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Wide(folder + name).c_str());
      }
    } while (FindNextFileW(find, &fd));
    FindClose(find);
  }
  RemoveDirectoryW(Wide(folder).c_str());
}

std::string ReadFile(const std::string& path) {
  std::string bytes;
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(h);
  return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  const bool ok =
      h != INVALID_HANDLE_VALUE &&
      ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  if (!ok) throw std::runtime_error("cannot write " + path);
}

bool FileExists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Pump(HWND dialog) {
  // The wide calls, as the program's loops take messages (win::RunMessageLoop): a typed character
  // reaches a window in UTF-16.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (dialog && IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool PumpUntil(HWND dialog, const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    Pump(dialog);
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  return condition() || PumpUntil(nullptr, condition, timeoutMs);
}

void ShowPainted(HWND window) {
  UpdateWindow(window);
  Pump();  // the PeekMessage that finds the queue empty copies the pixels
}

// ------------------------------------------------------------------ Process

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    process_ = std::exchange(other.process_, nullptr);
    pid_ = std::exchange(other.pid_, 0);
  }
  return *this;
}

Process::~Process() {
  Kill();
}

namespace {

// The job every started program runs in: it ends them all when this process ends, however it
// ends (killed, crashed, or timed out by the test runner). A program left behind would keep the
// runner's output pipe open, which it inherited, so that the runner waits for it until its own
// time-out; and one whose thread a test holds suspended stays so on the desktop for good.
HANDLE ProgramsJob() {
  static const HANDLE job = [] {
    HANDLE j = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!j ||
        !SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
      throw std::runtime_error("cannot make the job for the programs");
    }
    return j;  // closed only by the end of this process
  }();
  return job;
}

}  // namespace

Process Process::Start(const std::string& exe, const std::string& arguments,
                       const std::string& folder) {
  std::wstring commandLine = Wide("\"" + exe + "\"");
  if (!arguments.empty()) commandLine += Wide(" " + arguments);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  // Suspended until it is in the job, so that anything it starts is in the job as well.
  if (!CreateProcessW(Wide(exe).c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED, nullptr, Wide(folder).c_str(), &si, &pi)) {
    throw std::runtime_error("cannot start " + exe + ": error " + std::to_string(GetLastError()));
  }
  if (!AssignProcessToJobObject(ProgramsJob(), pi.hProcess)) {
    const DWORD error = GetLastError();
    TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    throw std::runtime_error("cannot put " + exe + " into the job: error " + std::to_string(error));
  }
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);
  Process p;
  p.process_ = pi.hProcess;
  p.pid_ = pi.dwProcessId;
  return p;
}

bool Process::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs) {
  if (!process_) return true;
  return WaitUntil([&] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, timeoutMs);
}

DWORD Process::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_, &code);
  return code;
}

HWND Process::WaitForWindow(const char* className, DWORD timeoutMs) const {
  struct Search {
    DWORD pid;
    const char* cls;
    HWND found;
  } search{pid_, className, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(
            [](HWND w, LPARAM lp) -> BOOL {
              auto* s = reinterpret_cast<Search*>(lp);
              DWORD owner = 0;
              GetWindowThreadProcessId(w, &owner);
              if (owner != s->pid || !IsWindowVisible(w) || ClassName(w) != s->cls) return TRUE;
              s->found = w;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

void Process::Kill() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
}

// ------------------------------------------------------------------ Quillorb

Quillorb::Quillorb(const std::string& folder, bool copySpells, bool wait) : folder_(folder) {
  const std::string exe = folder + "quillorb.exe";
  if (!CopyFileW(Wide(BinDir() + "quillorb.exe").c_str(), Wide(exe).c_str(), FALSE)) {
    throw std::runtime_error("cannot copy quillorb.exe");
  }
  if (copySpells) {
    CopyFileW(Wide(BinDir() + "spells.txt").c_str(), Wide(folder + "spells.txt").c_str(), FALSE);
  }
  // A window that appears under the cursor is sent a mouse move at the cursor's place, and Wine
  // may deliver it after the test's own first move: with the cursor left on a slot by an earlier
  // test, the new strip would show that slot's spell a moment after the one the test hovers.
  ParkMouse();
  process_ = Process::Start(exe, "", folder);
  if (wait && !WaitForMainWindow()) throw std::runtime_error("the main window did not appear");
}

HWND Quillorb::WaitForMainWindow(DWORD timeoutMs) {
  window_ = process_.WaitForWindow("TForm_Main", timeoutMs);
  return window_;
}

POINT Quillorb::ScreenPoint(int x, int y) const {
  return ClientPoint(window_, x, y);
}

POINT ClientPoint(HWND window, int x, int y) {
  POINT pt = win::WindowDpi(window).Scale(POINT{x, y});
  ClientToScreen(window, &pt);
  return pt;
}

bool Quillorb::Close(DWORD timeoutMs) {
  PostMessageA(window_, WM_CLOSE, 0, 0);
  return process_.WaitForExit(timeoutMs);
}

// ------------------------------------------------------------------ windows

HWND WaitForMessageBox(const Process& process, DWORD timeoutMs) {
  return process.WaitForWindow("#32770", timeoutMs);
}

std::wstring MessageBoxText(HWND box) {
  wchar_t text[2048] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 2048);
  return text;
}

std::wstring DialogItemText(HWND dialog, int id) {
  wchar_t text[4096] = {};
  GetDlgItemTextW(dialog, id, text, 4096);
  std::wstring lines;
  for (const wchar_t* c = text; *c; ++c) {
    if (*c != L'\r') lines += *c;
  }
  return lines;
}

void DismissMessageBox(HWND box) {
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

std::string WindowText(HWND window) {
  char text[4096] = {};
  if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
    // A caption: read without a message, so that a busy window still answers.
    GetWindowTextA(window, text, sizeof text);
    return text;
  }
  // A control's text needs WM_GETTEXT itself: GetWindowText on another process's control reads
  // only its title, not an edit control's text.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                      15000, &ignored);
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    children.push_back(c);
  }
  return children;
}

RECT WindowRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT ChildRect(HWND child) {
  RECT r = WindowRectOf(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool IsTopmost(HWND window) {
  return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

namespace {
GUITHREADINFO ThreadInfoOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return GUITHREADINFO{};
  return info;
}
}  // namespace

HWND FocusOf(HWND window) {
  return ThreadInfoOf(window).hwndFocus;
}

HWND ActiveOf(HWND window) {
  return ThreadInfoOf(window).hwndActive;
}

// ------------------------------------------------------------------ input

namespace {

// An absolute mouse event at a screen point: the position travels with the event, so that a
// press lands where it is meant to even if the cursor was moved in between.
void SendMouseAt(POINT screen, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

// The X pointer is put once into the screen's lower-right corner, where no window of the tests
// goes, and left there. Wine's cursor moves with SendInput alone; the X server, whenever a
// window appears or goes under its own pointer, reports that pointer's place as a mouse move, and
// a warp (SetCursorPos) is reported back later as a move as well. Either would put Wine's cursor
// somewhere stale between a test's move and its press.
void ParkXPointer() {
  static const bool parked = [] {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    return true;
  }();
  (void)parked;
}

}  // namespace

void ParkMouse() {
  MoveMouse(POINT{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
}

void MoveMouse(POINT screen) {
  // An absolute move, then wait until the cursor is there.
  ParkXPointer();
  const auto there = [&] {
    POINT at{};
    GetCursorPos(&at);
    return at.x == screen.x && at.y == screen.y;
  };
  const auto moveThere = [&] {
    SendMouseAt(screen, 0);
    WaitUntil(
        [&] {
          if (there()) return true;
          SendMouseAt(screen, 0);
          return false;
        },
        2000);
  };
  moveThere();
  // Under Wine every move of ours also moves the X pointer, and the program whose window lay under
  // the pointer hears of the previous move from the X server too, possibly only now: that late
  // report puts the cursor back where it was. The move is done once the window under the pointer
  // has handled its input twice with the cursor still here.
  HWND under = WindowFromPoint(screen);
  under = under ? GetAncestor(under, GA_ROOT) : nullptr;
  DWORD pid = 0;
  if (!under || under == GetDesktopWindow() || !GetWindowThreadProcessId(under, &pid) ||
      pid == GetCurrentProcessId()) {
    return;
  }
  for (int round = 0, still = 0; round < 8 && still < 2; ++round) {
    if (!WaitForQueueHandled(under, 2000)) return;  // a hung window hears nothing
    if (there()) {
      ++still;
    } else {
      still = 0;
      moveThere();
    }
  }
}

namespace {

// The recent presses the harness made, so that a single click is never taken for the second half
// of a double click: the system makes one of two presses of a button at about the same place within
// the double-click time, however far apart a test meant them. Wine compares a press with the last
// one that reached the same program, so a press elsewhere in between (into another program's
// window) does not end the pair: every recent press counts.
struct Press {
  DWORD tick = 0;
  POINT at{};
  int button = -1;
};
std::vector<Press> g_presses;

void NotePress(POINT at, int button) {
  const DWORD now = GetTickCount();
  const DWORD span = GetDoubleClickTime() + 50;
  std::erase_if(g_presses, [&](const Press& p) { return now - p.tick > span; });
  g_presses.push_back({now, at, button});
}

void WaitOutDoubleClick(POINT screen, int button) {
  const DWORD wait = GetDoubleClickTime() + 50;
  for (const Press& last : g_presses) {
    if (last.button != button) continue;
    if (std::abs(screen.x - last.at.x) > GetSystemMetrics(SM_CXDOUBLECLK) / 2 + 1 ||
        std::abs(screen.y - last.at.y) > GetSystemMetrics(SM_CYDOUBLECLK) / 2 + 1) {
      continue;
    }
    WaitUntil([&] { return GetTickCount() - last.tick > wait; }, wait + 100);
  }
}

}  // namespace

void Click(POINT screen, int button) {
  WaitOutDoubleClick(screen, button);
  MoveMouse(screen);
  static const DWORD kDown[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN,
                                MOUSEEVENTF_MIDDLEDOWN};
  static const DWORD kUp[] = {MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_MIDDLEUP};
  SendMouseAt(screen, kDown[button]);
  SendMouseAt(screen, kUp[button]);
  NotePress(screen, button);
}

void DoubleClick(POINT screen) {
  WaitOutDoubleClick(screen, 0);
  MoveMouse(screen);
  for (int i = 0; i < 2; ++i) {
    SendMouseAt(screen, MOUSEEVENTF_LEFTDOWN);
    SendMouseAt(screen, MOUSEEVENTF_LEFTUP);
  }
  // The pair is complete: a third press would start a new one.
  std::erase_if(g_presses, [&](const Press& p) { return p.button == 0; });
}

bool ClickToFocus(HWND control) {
  RECT r = WindowRectOf(control);
  Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  return WaitUntil([&] { return FocusOf(control) == control; }, 5000);
}

bool WaitForQueueHandled(HWND window, DWORD timeoutMs) {
  // A thread paints only when nothing posted and no input waits for it: once the update region
  // made here is gone, so is everything queued before it. The children are left out, so that no
  // control paints it early on its own (UpdateWindow inside a handler).
  if (!RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN)) return false;
  return WaitUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); }, timeoutMs);
}

void PressKey(WORD vk) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

void TypeUnicode(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
      key.type = INPUT_KEYBOARD;
      key.ki.wScan = c;
      key.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof keys[0]);
  }
}

void TypeText(const std::string& text) {
  for (char c : text) {
    SHORT vk = VkKeyScanA(c);
    if (vk == -1) continue;
    bool shift = (vk & 0x100) != 0;
    if (shift) {
      INPUT down{};
      down.type = INPUT_KEYBOARD;
      down.ki.wVk = VK_SHIFT;
      SendInput(1, &down, sizeof down);
    }
    PressKey(static_cast<WORD>(vk & 0xFF));
    if (shift) {
      INPUT up{};
      up.type = INPUT_KEYBOARD;
      up.ki.wVk = VK_SHIFT;
      up.ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(1, &up, sizeof up);
    }
  }
}

// ------------------------------------------------------------------ screen

COLORREF ScreenPixel(POINT screen) {
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, screen.x, screen.y);
  ReleaseDC(nullptr, dc);
  return c;
}

namespace {

// The screen rectangle copied in one go (GetPixel on the screen costs a round trip per pixel).
win::Pixels GrabScreen(const RECT& screen) {
  const int w = screen.right - screen.left;
  const int h = screen.bottom - screen.top;
  if (w <= 0 || h <= 0) return {};
  win::Bitmap bitmap = win::CreateDib32(w, h);
  {
    win::WindowDc screenDc(nullptr);
    win::MemoryDc memory(CreateCompatibleDC(screenDc.get()));
    win::SelectScope select(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, w, h, screenDc.get(), screen.left, screen.top, SRCCOPY);
  }
  return win::ReadPixels(bitmap.get());
}

}  // namespace

std::vector<COLORREF> ScreenPixels(const RECT& screen) {
  const win::Pixels grabbed = GrabScreen(screen);
  std::vector<COLORREF> pixels;
  pixels.reserve(grabbed.px.size());
  for (DWORD p : grabbed.px) pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  return pixels;
}

bool SaveScreenshot(const RECT& screen, const std::string& bmpPath) {
  const win::Pixels grabbed = GrabScreen(screen);
  const int w = grabbed.width, h = grabbed.height;
  if (w <= 0 || h <= 0) return false;
  // 24-bit rows, bottom row first and each padded to four bytes, as BMP files store them.
  const size_t stride = static_cast<size_t>((w * 3 + 3) & ~3);
  std::string image(stride * static_cast<size_t>(h), '\0');
  for (int y = 0; y < h; ++y) {
    char* row = image.data() + stride * static_cast<size_t>(h - 1 - y);
    for (int x = 0; x < w; ++x) {
      const DWORD p = grabbed.At(x, y);
      row[x * 3] = static_cast<char>(p & 0xFF);
      row[x * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
      row[x * 3 + 2] = static_cast<char>((p >> 16) & 0xFF);
    }
  }
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = w;
  ih.biHeight = h;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biCompression = BI_RGB;
  ih.biSizeImage = static_cast<DWORD>(image.size());
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + ih.biSizeImage;
  bool ok = false;
  if (FILE* f = std::fopen(bmpPath.c_str(), "wb")) {
    ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&ih, sizeof ih, 1, f) == 1 &&
         std::fwrite(image.data(), image.size(), 1, f) == 1;
    std::fclose(f);
  }
  return ok;
}

}  // namespace harness
