// The casting pipeline's host for tests: the rune-casting toggle, the assistant window and the
// question's owner as plain fields, and the failures it was told of; `caster` is the pipeline
// that asks it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "client/cast.h"

namespace quillorb {

class TestCastHost final : public CastHost {
 public:
  explicit TestCastHost(bool runeCastingDown = true) : runeCasting(runeCastingDown) {}
  TestCastHost(const TestCastHost&) = delete;
  TestCastHost& operator=(const TestCastHost&) = delete;

  bool RuneCastingDown() const override {
    if (onRuneCastingAsked) onRuneCastingAsked();
    return runeCasting;
  }
  HWND AssistantHandle() override { return assistant; }
  ClientSearch GameWindowSearch() const override { return search; }
  // As the main window does: the confirmed program is trusted from now on.
  void TrustClientProgram(const std::string& program) override { search.trustedProgram = program; }
  HWND QuestionOwner() const override { return owner; }
  void CastNotDelivered(CastFailure why) override { failures.push_back(why); }

  bool runeCasting;
  // Runs when the pipeline asks for the toggle: once the client is in front, before any key.
  std::function<void()> onRuneCastingAsked;
  HWND assistant = nullptr;
  HWND owner = nullptr;
  ClientSearch search;
  std::vector<CastFailure> failures;
  CastPipeline pipeline{this};
  GameCaster* caster = &pipeline;
};

}  // namespace quillorb
