// A stand-in program (tests/standins) started in a fresh folder with the log it writes there: the
// program's first line names its window ("<order> READY <handle>"). The program is ended and its
// folder removed when the object goes.
#pragma once

#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tests/harness/harness.h"

namespace standin {

class StandinProcess {
 public:
  // Starts `exe` (in the test's folder) with the log's path as its first argument, then `args`;
  // waits for its READY line.
  StandinProcess(const std::string& exe, const std::string& logName, const std::string& args)
      : folder_(harness::NewTempFolder(logName.substr(0, logName.find('.')))),
        log_(folder_ + logName) {
    process_ = harness::Process::Start(harness::BinDir() + exe, '"' + log_ + "\" " + args, folder_);
    window_ = harness::WaitForValue([&] { return ReadyWindow(); },
                                    [](HWND w) { return w != nullptr; }, 15000);
  }
  ~StandinProcess() {
    process_.Kill();
    harness::RemoveFolder(folder_);
  }
  StandinProcess(const StandinProcess&) = delete;
  StandinProcess& operator=(const StandinProcess&) = delete;

  HWND Window() const { return window_; }
  harness::Process& Proc() { return process_; }

  // The log's lines, each split into its order number and the rest.
  std::vector<std::pair<unsigned, std::string>> LogLines() const {
    std::vector<std::pair<unsigned, std::string>> lines;
    std::istringstream in(harness::FileExists(log_) ? harness::ReadFile(log_) : std::string());
    std::string line;
    while (std::getline(in, line)) {
      const size_t space = line.find(' ');
      if (space == std::string::npos) continue;
      lines.emplace_back(static_cast<unsigned>(std::strtoul(line.c_str(), nullptr, 10)),
                         line.substr(space + 1));
    }
    return lines;
  }

 private:
  // Messages the program handled while it started may stand before the READY line.
  HWND ReadyWindow() const {
    for (const auto& [order, rest] : LogLines()) {
      unsigned long long handle = 0;
      if (std::sscanf(rest.c_str(), "READY %llx", &handle) == 1) {
        return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle));
      }
    }
    return nullptr;
  }

  std::string folder_;
  std::string log_;
  harness::Process process_;
  HWND window_ = nullptr;
};

}  // namespace standin
