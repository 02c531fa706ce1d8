// The counter strip: the eight backpack counters as the ledger shows them (and the assistant's
// reports reaching them), the focus timer of a counter being typed in, and the reagent pictures
// that count up and down.
#include <algorithm>

#include "app/form_main.h"
#include "win/bitmap.h"

namespace quillorb {
namespace {

// Whether the counter's value is `value` as the counter clamps it.
bool Holds(const TNumEdit& counter, int32_t value) {
  return counter.Integer() == std::clamp(value, 0, static_cast<int32_t>(counter.Max));
}

}  // namespace

// ------------------------------------------------------------------ the ledger on screen

void TForm_Main::ReadCounters() {
  for (int r = 0; r < kReagentCount; ++r) {
    BackpackReagent[static_cast<size_t>(r)] = NumEdit(r).Integer();
  }
}

void TForm_Main::WriteCounters() {
  CountersUpdating = true;
  for (int r = 0; r < kReagentCount; ++r) {
    TNumEdit& counter = NumEdit(r);
    const int32_t value = BackpackReagent[static_cast<size_t>(r)];
    // A counter that shows the number already keeps its text: each replacement costs several
    // messages to the edit, and an assistant's report changes one counter of the eight.
    if (!counter.Editing() && Holds(counter, value)) {
      counter.FlushText();
      continue;
    }
    counter.SetInteger(value);
  }
  CountersUpdating = false;
  RefreshSlotLabels();
}

void TForm_Main::WriteReportedCounters() {
  // A burst of reports (a recount, or anything flooding the window) would replace texts and
  // labels for every report, a few hundred microseconds each under Wine; they are replaced once
  // after the burst instead, by a message queued behind it. A full queue refuses that message:
  // then they are replaced now.
  if (!CountersRefreshPosted && (HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE)) {
    CountersRefreshPosted = PostMessageA(hwnd(), kRefreshCountersMessage, 0, 0) != FALSE;
  }
  if (!CountersRefreshPosted) {
    WriteCounters();
    return;
  }
  for (int r = 0; r < kReagentCount; ++r) {
    TNumEdit& counter = NumEdit(r);
    const int32_t value = BackpackReagent[static_cast<size_t>(r)];
    if (counter.Editing()) {
      counter.SetInteger(value);  // the player sees what is typed over
    } else if (!Holds(counter, value)) {
      counter.SetIntegerLater(value);
    }
  }
}

void TForm_Main::NumEdit_GLChange() {
  RefreshSlotLabels();
}

// ------------------------------------------------------------------ focus timer

void TForm_Main::Timer1Timer() {
  HWND focused = GetFocus();
  if (focused && IsChild(hwnd(), focused)) {
    DWORD start = 0;
    SendMessageA(focused, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    SendMessageA(focused, EM_SETSEL, start, static_cast<LPARAM>(start));
  }
  Timer1->SetEnabled(false);
}

void TForm_Main::NumEdit_BPEnter() {
  Timer1->SetEnabled(false);
  Timer1->SetEnabled(true);
}

// ------------------------------------------------------------------ the reagent pictures

void TForm_Main::ReagentImageMouseDown(win::GraphicControl& sender, const win::MouseEvent& e) {
  TNumEdit& counter = NumEdit(sender.Tag);
  const int32_t step = e.button == win::MouseButton::Left ? 1 : -1;
  // The counter clamps to 0..999; its change handler refreshes the ledger.
  counter.SetInteger(counter.Integer() + step);
}

void TForm_Main::DrawReagentIcon(win::Image& image, int index) {
  // The button face, with icon `index` of the image list drawn transparently on it.
  win::Bitmap picture = win::CreateFilledBitmap(
      ImageList_Reagent->Width(), ImageList_Reagent->Height(), GetSysColor(COLOR_BTNFACE));
  {
    win::MemoryDc dc(CreateCompatibleDC(nullptr));
    win::SelectScope select(dc.get(), picture.get());
    ImageList_Reagent->Draw(dc.get(), index, 0, 0);
  }
  image.SetBitmap(std::move(picture), true);
}

// ------------------------------------------------------------------ the assistant's reports

void TForm_Main::TakeReportedCount(int reagent, int32_t count) {
  ReadCounters();
  BackpackReagent[static_cast<size_t>(reagent)] = count;
  WriteReportedCounters();
}

void TForm_Main::BookReportedCast(int index) {
  ReadCounters();
  const bool booked = Spells[static_cast<size_t>(index)].Cast(CastMode::BookOnly, BackpackReagent,
                                                              ReagentUsed, nullptr);
  WriteReportedCounters();
  if (booked) WarnOfLowCasts(index, false);
}

}  // namespace quillorb
