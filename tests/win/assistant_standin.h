// Test helpers around the stand-in assistant (tests/standins/fake_assistant.cpp): start it,
// command it, and read its log.
#pragma once

#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tests/harness/harness.h"
#include "tests/standins/fake_assistant.h"

namespace standin {

class FakeAssistant {
 public:
  // `windows`: "part", "api" or "both"; `answer`: "inside", "later" or "never"; `counts`: the
  // answer's "code=n,..." list ("-" for the stand-in's own); `stale`: the first registration
  // request is answered 2.
  explicit FakeAssistant(const std::string& windows, const std::string& answer = "inside",
                         const std::string& counts = "-", bool stale = false)
      : folder_(harness::NewTempFolder("assistant")), log_(folder_ + "assistant.log") {
    const std::string args =
        '"' + log_ + "\" " + windows + ' ' + answer + ' ' + counts + (stale ? " stale" : "");
    process_ = harness::Process::Start(harness::BinDir() + "fake_assistant.exe", args, folder_);
    harness::WaitUntil([&] { return ReadyWindow() != nullptr; }, 15000);
    window_ = ReadyWindow();
  }
  ~FakeAssistant() {
    process_.Kill();
    harness::RemoveFolder(folder_);
  }
  FakeAssistant(const FakeAssistant&) = delete;
  FakeAssistant& operator=(const FakeAssistant&) = delete;

  HWND Window() const { return window_; }
  LRESULT Command(UINT command, WPARAM wp = 0, LPARAM lp = 0) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window_, command, wp, lp, SMTO_NORMAL, 10000, &result);
    return static_cast<LRESULT>(result);
  }

  // The log lines after READY, without their order numbers.
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    std::istringstream in(harness::FileExists(log_) ? harness::ReadFile(log_) : std::string());
    std::string line;
    while (std::getline(in, line)) {
      const size_t space = line.find(' ');
      if (space == std::string::npos) continue;
      line = line.substr(space + 1);
      if (!line.starts_with("READY")) lines.push_back(line);
    }
    return lines;
  }
  static std::string RegisterLine(HWND window, int result) {
    char text[64];
    std::snprintf(text, sizeof text, "REGISTER %llX %d",
                  static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)), result);
    return text;
  }

 private:
  HWND ReadyWindow() const {
    if (!harness::FileExists(log_)) return nullptr;
    unsigned order = 0;
    unsigned long long handle = 0;
    if (std::sscanf(harness::ReadFile(log_).c_str(), "%u READY %llx", &order, &handle) != 2) {
      return nullptr;
    }
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle));
  }

  std::string folder_;
  std::string log_;
  harness::Process process_;
  HWND window_ = nullptr;
};

}  // namespace standin
