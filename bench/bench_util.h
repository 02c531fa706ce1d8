// Small helpers shared by the benchmark programs: a microsecond clock and laps, median and spread
// of a series, the program's own folder, scratch folders and whole-file copies, starting a program
// and finding its window, and a main that reports what went wrong. (Window classes, the message
// loop and key chords: bench/bench_win.h.)
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

inline double NowUs() {
  static const double ticksPerUs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1e6;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / ticksPerUs;
}

// Microseconds that `work` takes.
template <typename F>
double TimeUs(F&& work) {
  const double t0 = NowUs();
  work();
  return NowUs() - t0;
}

// A stopwatch: each call gives the milliseconds since the one before (or since it was made).
class Lap {
 public:
  double operator()() {
    const double now = NowUs();
    const double ms = (now - last_) / 1000;
    last_ = now;
    return ms;
  }

 private:
  double last_ = NowUs();
};

struct Stats {
  double median = 0;
  double min = 0;
  double max = 0;
  size_t count = 0;
};

inline Stats Summarize(std::vector<double> samples) {
  Stats s;
  if (samples.empty()) return s;
  std::sort(samples.begin(), samples.end());
  const size_t n = samples.size();
  s.count = n;
  s.min = samples.front();
  s.max = samples.back();
  s.median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  return s;
}

inline const char* Verdict(bool met) {
  return met ? "OK" : "MISS";
}

// The folder of the running program, with its trailing separator.
inline std::string BinDir() {
  char path[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string p(path);
  return p.substr(0, p.find_last_of("\\/") + 1);
}

// A new empty folder under the temporary folder, with its trailing separator.
inline std::string NewTempFolder(const std::string& tag) {
  static int counter = 0;
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  for (;;) {
    std::string folder = std::string(base) + "quillorb-bench-" + tag + "-" +
                         std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) +
                         "\\";
    if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + folder);
  }
}

// Removes the files of a flat folder and the folder.
inline void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA((folder + fd.cFileName).c_str());
      }
    } while (FindNextFileA(find, &fd));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

inline void CopyOrThrow(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("cannot copy " + from);
}

inline void WriteOrThrow(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
  DWORD written = 0;
  const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(h);
  if (!ok) throw std::runtime_error("cannot write " + path);
}

// Reads until the end rather than by the reported size, so that files of the Linux /proc
// folder (size 0) read whole as well.
inline bool ReadAll(const std::string& path, std::string& bytes) {
  bytes.clear();
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  char buffer[16384];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got != 0) bytes.append(buffer, got);
  CloseHandle(h);
  return true;
}

// Starts `commandLine` in `folder` (empty: this program's current folder); the caller owns the
// process handle (the thread handle is closed). Throws when the program cannot start.
inline PROCESS_INFORMATION StartProgram(const std::string& commandLine,
                                        const std::string& folder = "") {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    throw std::runtime_error("cannot start " + commandLine);
  }
  CloseHandle(pi.hThread);
  return pi;
}

// The first visible top-level window of `className` that belongs to process `pid`; none yet:
// nullptr.
inline HWND VisibleWindowOf(const char* className, DWORD pid) {
  for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w;
       w = FindWindowExA(nullptr, w, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

// A benchmark's main: runs `run` and returns its exit code; what it throws is printed under
// `name` and ends the program with 1.
template <typename F>
int RunMain(const char* name, F&& run) {
  try {
    return run();
  } catch (const std::exception& e) {
    std::printf("%s failed: %s\n", name, e.what());
    return 1;
  }
}

}  // namespace bench
