// The spell bar: the twelve pages of spell icons composed from the lazy icon atlases, the
// casts-left labels, and the slots' mouse handlers that cast, undo and show the spell's
// information; the casts go through the window's casting pipeline.
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "app/form_main.h"
#include "client/window_link.h"
#include "win/bitmap.h"

namespace quillorb {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kAqua = RGB(0, 255, 255);
// The orange red of warnings in the game.
constexpr WORD kWarningHue = 0x0025;

// A slot's casts-left label: the number, or a dash for a spell that needs no reagent (it never
// runs out).
std::string CastsLeftCaption(int32_t casts) {
  return casts == kUnlimitedCasts ? " -" : " " + std::to_string(casts);
}

}  // namespace

void TForm_Main::RefreshSlotLabels() {
  if (CountersUpdating) return;
  ReadCounters();
  for (int slot = 0; slot < 8; ++slot) UpdateSlotLabel(Label(slot), slot);
  SpeedButton_Undo->SetEnabled(UndoSpell != -1);
}

void TForm_Main::UpdateSlotLabel(win::Label& label, int slot) {
  const int32_t index = SpellSlot[static_cast<size_t>(CurrentPage())][static_cast<size_t>(slot)];
  const TSpell& spell = Spells[static_cast<size_t>(index)];
  const int32_t n = spell.CastsLeft(BackpackReagent);
  std::string caption = CastsLeftCaption(n);
  // An unchanged number leaves caption and colour alone.
  if (label.Caption() == caption) return;
  label.SetCaption(std::move(caption));
  label.SetColor(n == 0 ? kRed : n <= 5 ? kYellow : kLime);
}

// The bar is composed page by page: BuildSpellBar composes the page shown and leaves the others
// to their first showing (PaintBox1Paint). Each page comes out as if all twelve were composed at
// once: a circle page is the atlas row with the spells not in the book greyed, a user page shows
// each of its spells as the spell's circle page does.
void TForm_Main::BuildSpellBar() {
  BarPagesComposed.reset();
  ComposeBarPage(CurrentPage());
}

void TForm_Main::ComposeBarPage(int page) {
  if (!BarBitmap || !ImageSrc || page < 0 || page >= kTabPages) return;
  if (BarPagesComposed[static_cast<size_t>(page)]) return;
  std::array<int32_t, kSlotsPerPage> spells{};
  for (int s = 0; s < kSlotsPerPage; ++s) {
    spells[static_cast<size_t>(s)] =
        page < kUserPages ? SpellSlot[static_cast<size_t>(page)][static_cast<size_t>(s)]
                          : (page - kUserPages) * 8 + s;
  }
  for (int32_t i : spells) ImageSrc.Draw(i);
  win::MemoryDc bar(CreateCompatibleDC(nullptr));
  win::MemoryDc normal(CreateCompatibleDC(nullptr));
  win::MemoryDc greyed(CreateCompatibleDC(nullptr));
  win::SelectScope selectBar(bar.get(), BarBitmap.get());
  win::SelectScope selectNormal(normal.get(), ImageSrc.normal.get());
  win::SelectScope selectGreyed(greyed.get(), ImageSrc.greyed.get());
  const int cell = ImageSrc.cell;  // pixels of a slot at the window's DPI
  for (int s = 0; s < kSlotsPerPage; ++s) {
    const int32_t i = spells[static_cast<size_t>(s)];
    if (i < 0 || i >= kSpellCount) {
      const RECT empty{cell * s, cell * page, cell * (s + 1), cell * (page + 1)};
      FillRect(bar.get(), &empty, GetSysColorBrush(COLOR_BTNSHADOW));
      continue;
    }
    HDC source = Spells[static_cast<size_t>(i)].InSpellBook ? normal.get() : greyed.get();
    BitBlt(bar.get(), cell * s, cell * page, cell, cell, source, cell * (i % 8), cell * (i / 8),
           SRCCOPY);
  }
  BarPagesComposed.set(static_cast<size_t>(page));
}

void TForm_Main::PaintBox1Paint(HDC dc) {
  if (!BarBitmap) return;
  ComposeBarPage(CurrentPage());
  win::MemoryDc source(CreateCompatibleDC(dc));
  win::SelectScope select(source.get(), BarBitmap.get());
  const int cell = ImageSrc.cell;
  BitBlt(dc, 0, 0, 8 * cell, cell, source.get(), 0, cell * CurrentPage(), SRCCOPY);
}

void TForm_Main::TabSet1Click() {
  PaintBox1->Repaint();
  RefreshSlotLabels();
}

int32_t TForm_Main::SlotSpell(int slot) const {
  return SpellSlot[static_cast<size_t>(CurrentPage())][static_cast<size_t>(slot)];
}

void TForm_Main::CastSlot(int slot) {
  const int32_t i = SlotSpell(slot);
  TSpell& spell = Spells[static_cast<size_t>(i)];
  if (!spell.InSpellBook) return;
  ReadCounters();
  const CastMode mode = SpeedButton_Inscription->Down() ? CastMode::BookOnly : CastMode::IntoGame;
  if (!spell.Cast(mode, BackpackReagent, ReagentUsed, &caster_)) return;
  UndoSpell = i;
  UndoLastWasCast = true;
  WriteCounters();
  // A cast the assistant will report is booked, and warned of, when its report comes.
  if (mode == CastMode::BookOnly || caster_.LastCast() == GameCast::Cast) {
    WarnOfLowCasts(i, mode == CastMode::IntoGame);
  }
}

void TForm_Main::WarnOfLowCasts(int index, bool now) {
  // The figure of the slot's label: the counters as they show.
  const std::optional<std::string> warning =
      LowCastsWarning(Spells[static_cast<size_t>(index)], BackpackReagent, WarnCasts);
  if (warning) Assistant.ShowInGame(*warning, kWarningHue, now);
}

void TForm_Main::PaintBox2Click(win::GraphicControl& sender) {
  CastSlot(sender.Tag);
}

void TForm_Main::PaintBox2MouseDown(win::GraphicControl& sender, const win::MouseEvent& e) {
  if (e.button != win::MouseButton::Right) return;
  ReadCounters();
  const int32_t i = SlotSpell(sender.Tag);
  TSpell& spell = Spells[static_cast<size_t>(i)];
  if (spell.InSpellBook) {
    spell.Undo(BackpackReagent, ReagentUsed);
    UndoSpell = i;
    UndoLastWasCast = false;
  }
  WriteCounters();
}

void TForm_Main::PaintBox2MouseMove(win::GraphicControl& sender) {
  if (panelNoticeAt_) {
    // A mouse-move message without a move (after an activation, say) keeps the notice.
    POINT at{};
    GetCursorPos(&at);
    if (at.x == panelNoticeAt_->x && at.y == panelNoticeAt_->y) return;
    panelNoticeAt_.reset();
  }
  ShowSpellInfo(sender.Tag);
}

bool TForm_Main::SlotUnderCursor() const {
  // Where the pointer was for the message being handled (a press asking to activate, say).
  const DWORD pos = GetMessagePos();
  POINT at{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  if (!ScreenToClient(hwnd(), &at)) return false;
  const win::GraphicControl* control = ControlAt(at);
  return control && std::any_of(SlotBoxes.begin(), SlotBoxes.end(),
                                [&](const auto& box) { return box.get() == control; });
}

bool TForm_Main::IsGameWindow(HWND window) const {
  return IsOrOwnedBy(window, FindClientWindow(GameWindowSearch()));
}

void TForm_Main::PaintBox2DblClick(win::GraphicControl&) {
  if (HWND client = FindClientWindow(GameWindowSearch())) SetForegroundWindow(client);
}

void TForm_Main::ShowSpellInfo(int slot) {
  const TSpell& spell = Spells[static_cast<size_t>(SlotSpell(slot))];
  Panel1->SetCaption(" " + spell.GetInfo(ReagentCost, decimalSeparator_));
  for (int r = 0; r < kReagentCount; ++r) {
    const bool needed = spell.Reagent[static_cast<size_t>(r)] != 0;
    NumEdit(r).SetColor(needed ? kAqua : GetSysColor(COLOR_WINDOW));
  }
}

void TForm_Main::SpeedButton_UndoClick() {
  if (UndoSpell == -1) return;
  ReadCounters();
  TSpell& spell = Spells[static_cast<size_t>(UndoSpell)];
  if (UndoLastWasCast) {
    spell.Undo(BackpackReagent, ReagentUsed);
  } else {
    spell.Cast(CastMode::BookOnly, BackpackReagent, ReagentUsed, nullptr);
  }
  UndoLastWasCast = !UndoLastWasCast;
  WriteCounters();
}

// ------------------------------------------------------------------ the casting pipeline's host

bool TForm_Main::RuneCastingDown() const {
  return SpeedButton_Casting && SpeedButton_Casting->Down();
}

HWND TForm_Main::AssistantHandle() {
  return Assistant.ReportingWindow();
}

ClientSearch TForm_Main::GameWindowSearch() const {
  return ClientSearch{ClientCaption, &clientHistory_, ClientProgram};
}

void TForm_Main::TrustClientProgram(const std::string& program) {
  ClientProgram = program;
}

HWND TForm_Main::QuestionOwner() const {
  return hwnd();
}

void TForm_Main::CastNotDelivered(CastFailure why) {
  if (!Panel1) return;
  switch (why) {
    case CastFailure::NoClientWindow:
      Panel1->SetCaption(" No game window: " + DescribeClientSearch(GameWindowSearch()));
      break;
    case CastFailure::NotInFront:
      Panel1->SetCaption(" Game window not in front - nothing cast");
      break;
    case CastFailure::NoMacroKey:
      Panel1->SetCaption(" No macro key for this spell - nothing cast");
      break;
    case CastFailure::KeyNotOnLayout:
      Panel1->SetCaption(" Macro key not on this keyboard - nothing cast");
      break;
  }
  POINT at{};
  GetCursorPos(&at);
  panelNoticeAt_ = at;
}

}  // namespace quillorb
