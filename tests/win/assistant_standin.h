// Test helpers around the stand-in assistant (tests/standins/fake_assistant.cpp): start it,
// command it, and read its log.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/harness/harness.h"
#include "tests/standins/fake_assistant.h"
#include "tests/win/standin_process.h"

namespace standin {

class FakeAssistant : public StandinProcess {
 public:
  // `windows`: "part", "api" or "both"; `answer`: "inside", "later" or "never"; `counts`: the
  // answer's "code=n,..." list ("-" for the stand-in's own); `stale`: the first registration
  // request is answered 2.
  explicit FakeAssistant(const std::string& windows, const std::string& answer = "inside",
                         const std::string& counts = "-", bool stale = false)
      : StandinProcess("fake_assistant.exe", "assistant.log",
                       windows + ' ' + answer + ' ' + counts + (stale ? " stale" : "")) {}

  LRESULT Command(UINT command, WPARAM wp = 0, LPARAM lp = 0) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(Window(), command, wp, lp, SMTO_NORMAL, 10000, &result);
    return static_cast<LRESULT>(result);
  }

  // The log lines after READY, without their order numbers.
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    for (auto& [order, line] : LogLines()) {
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
};

}  // namespace standin
