#include "app/form_main.h"

#include <optional>

#include "app/art.h"
#include "dialogs/bank_dialog.h"
#include "dialogs/chr_list.h"
#include "dialogs/messages.h"
#include "dialogs/statistic.h"
#include "dialogs/form_config.h"
#include "model/characters.h"
#include "model/file_io.h"
#include "win/app.h"
#include "win/bitmap.h"
#include "win/dialog_util.h"
#include "win/file_error.h"

namespace quillorb {

namespace {

constexpr COLORREF kLime = RGB(0, 255, 0);

struct Place {
  int left;
  int top;
};
// Reagent pictures and counters, in reagent order BP BM GL GS MR NS SA SS.
constexpr std::array<Place, kReagentCount> kImagePlaces = {
    {{4, -4}, {2, 18}, {64, -4}, {64, 18}, {126, -2}, {126, 18}, {188, -4}, {188, 18}}};
constexpr std::array<Place, kReagentCount> kCounterPlaces = {
    {{30, 0}, {30, 20}, {92, 0}, {92, 20}, {154, 0}, {154, 20}, {216, 0}, {216, 20}}};
constexpr int kCell = kSpellIconSize;  // a slot, at 96 DPI

}  // namespace

TForm_Main::TForm_Main() = default;

TForm_Main::~TForm_Main() = default;

void TForm_Main::Create() {
  programDir_ = win::ProgramDirectory();
  decimalSeparator_ = win::UserDecimalSeparator();
  icon_ = MakeWindowIcon();
  CreateForm("TForm_Main", "Quillorb",
             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
             WS_EX_TOPMOST | WS_EX_CONTROLPARENT, CW_USEDEFAULT, CW_USEDEFAULT, kClientWidth,
             kClientHeight, icon_.get());
  SetIcons();
  SetFont(win::Arial(-11));
  CreateControls();
  FormCreate();
}

void TForm_Main::SetIcons() {
  // The large icon grows with the scale (64 pixels at 192 DPI), sharp: whole pixels of the art.
  const int m = Scaling().Multiple();
  largeIcon_ = m > 1 ? MakeWindowIcon(m) : win::Icon();
  HICON large = largeIcon_ ? largeIcon_.get() : icon_.get();
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
}

void TForm_Main::DpiChanged() {
  SetIcons();
  // The pictures are drawn again at the new size: the icons as pages show them. A dialog open
  // over the strip may still draw from the atlas of the scale before: it stays until the next.
  previousImageSrc_ = std::move(ImageSrc);
  ImageSrc = CreateSpellAtlases(Scaling());
  ImageList_Reagent = std::make_unique<ReagentIconList>(Scaling());
  if (BarBitmap) BarBitmap = win::CreateDib32(8 * ImageSrc.cell, ImageSrc.cell * kTabPages);
  BarPagesComposed.reset();
  for (int i = 0; i < kReagentCount; ++i) DrawReagentIcon(ReagentImage(i), i);
}

void TForm_Main::CreateControls() {
  // Graphic controls, bottom to top: the icon strip, the casts-left labels over it, and the eight
  // slot areas over both, which take the mouse (a click on a label is a click on its slot).
  PaintBox1 = std::make_unique<win::PaintBox>(*this, 270, 0, 320, 40);
  PaintBox1->OnPaint = [this](win::PaintBox&, HDC dc) { PaintBox1Paint(dc); };
  for (int tag = 0; tag < 8; ++tag) {
    auto label = std::make_unique<win::Label>(*this, 295 + kCell * tag, 25, 12, 14, "25");
    label->Tag = tag;
    label->SetColor(kLime);
    label->SetAlignment(win::Label::Align::Right);
    label->SetAutoSize(true);
    SlotLabels[static_cast<size_t>(tag)] = std::move(label);
  }
  for (int tag = 0; tag < 8; ++tag) {
    auto box = std::make_unique<win::PaintBox>(*this, 270 + kCell * tag, 0, kCell, kCell);
    box->Tag = tag;
    box->OnClick = [this](win::GraphicControl& sender) { PaintBox2Click(sender); };
    box->OnDblClick = [this](win::GraphicControl& sender) { PaintBox2DblClick(sender); };
    box->OnMouseDown = [this](win::GraphicControl& sender, const win::MouseEvent& e) {
      PaintBox2MouseDown(sender, e);
    };
    box->OnMouseMove = [this](win::GraphicControl& sender, int, int, WPARAM) {
      PaintBox2MouseMove(sender);
    };
    SlotBoxes[static_cast<size_t>(tag)] = std::move(box);
  }
  for (int r = 0; r < kReagentCount; ++r) {
    const Place& at = kImagePlaces[static_cast<size_t>(r)];
    auto image =
        std::make_unique<win::Image>(*this, at.left, at.top, kReagentIconWidth, kReagentIconHeight);
    image->Tag = r;
    image->OnMouseDown = [this](win::GraphicControl& sender, const win::MouseEvent& e) {
      ReagentImageMouseDown(sender, e);
    };
    ReagentImages[static_cast<size_t>(r)] = std::move(image);
  }

  auto button = [this](int left, int top, const char* hint, Glyph glyph) {
    auto b = std::make_unique<win::SpeedButton>(*this, left, top, 22, 20);
    b->SetGlyph(MakeGlyph(glyph));
    b->SetHint(hint);
    return b;
  };
  SpeedButton_Count = button(244, 0, "Count", Glyph::Count);
  SpeedButton_Count->OnClick = [this](win::GraphicControl&) { SpeedButton_CountClick(); };
  SpeedButton_bank = button(244, 20, "Bank", Glyph::Bank);
  SpeedButton_Config = button(594, 0, "Configuration", Glyph::Config);
  SpeedButton_Config->OnClick = [this](win::GraphicControl&) { SpeedButton_ConfigClick(); };
  SpeedButton_Undo = button(594, 20, "Undo", Glyph::Undo);
  SpeedButton_Undo->OnClick = [this](win::GraphicControl&) { SpeedButton_UndoClick(); };
  SpeedButton_Inscription = button(594, 40, "Inscription", Glyph::Inscription);
  SpeedButton_Inscription->SetGroupIndex(1, true);
  SpeedButton_Save = button(616, 0, "Select Character", Glyph::SelectCharacter);
  SpeedButton_Graph = button(616, 20, "Analysis", Glyph::Analysis);
  SpeedButton_bank->OnClick = [this](win::GraphicControl&) { SpeedButton_bankClick(); };
  SpeedButton_Save->OnClick = [this](win::GraphicControl&) { SpeedButton_SaveClick(); };
  SpeedButton_Graph->OnClick = [this](win::GraphicControl&) { SpeedButton_GraphClick(); };
  SpeedButton_Casting = button(616, 40, "Original Rune Casting", Glyph::RuneCasting);
  SpeedButton_Casting->SetGroupIndex(2, true);

  Label_ConfigDialogFont = std::make_unique<win::Label>(*this, 280, 16, 0, 0, "");
  Label_ConfigDialogFont->SetVisible(false);

  // Windowed controls, in tab order.
  Panel1 = std::make_unique<win::Panel>(hwnd(), kIdPanel1, 0, 42, 267, 18, " Spell Information...");
  Panel1->SetOuterBevel(win::Panel::Bevel::Lowered);
  TabSet1 = std::make_unique<win::TabSet>(hwnd(), kIdTabSet1, 270, 40, 320, 19);
  SendMessageA(TabSet1->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  SendMessageA(Panel1->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  TabSet1->SetMetrics(18, 2, 0);
  TabSet1->SetTabs({"  A  ", "  B  ", "  C  ", "  D  ", "  1 ", "  2 ", "  3 ", "  4 ", "  5 ",
                    "  6 ", "  7 ", "  8 "});
  TabSet1->SetTabIndex(0);
  TabSet1->OnClick = [this](win::TabSet&) { TabSet1Click(); };
  for (int r = 0; r < kReagentCount; ++r) {
    const Place& at = kCounterPlaces[static_cast<size_t>(r)];
    auto edit = std::make_unique<TNumEdit>(hwnd(), kIdNumEditFirst + r, at.left, at.top, 25, 19);
    edit->Max = 999;
    edit->Min = -TNumEdit::kDefaultMax;
    edit->EnableNegative = false;
    edit->EnterKeyToExit = true;
    edit->OnChange = [this](win::Edit&) { NumEdit_GLChange(); };
    edit->OnEnter = [this](win::Edit&) { NumEdit_BPEnter(); };
    Counters[static_cast<size_t>(r)] = std::move(edit);
  }

  // The atlases start empty: each icon is drawn when a page that shows it is first composed, so
  // that the window shows after drawing the eight icons of its first page, not all 64.
  ImageSrc = CreateSpellAtlases(Scaling());
  ImageList_Reagent = std::make_unique<ReagentIconList>(Scaling());

  Timer1 = std::make_unique<win::Timer>(*this, 5000, true);
  Timer1->OnTimer = [this](win::Timer&) { Timer1Timer(); };
  Timer_CountReagent = std::make_unique<win::Timer>(*this, 5000, false);
  Timer_CountReagent->OnTimer = [this](win::Timer&) { Timer_CountReagentTimer(); };
}

// ------------------------------------------------------------------ start-up and shutdown

void TForm_Main::FormCreate() {
  CountersUpdating = false;
  SpeedButton_Casting->SetDown(true);
  AdjustRegsInBackpack = 30;
  if ((GetUserDefaultLangID() & 0x3FF) == LANG_JAPANESE) {
    // The Shift-JIS face "MS P Gothic" at 9 point, for the dialogs that show Japanese text.
    Label_ConfigDialogFont->SetFont(AddFont({.face = L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF",
                                             .height = -MulDiv(9, 96, 72),
                                             .charset = SHIFTJIS_CHARSET}));
  }
  ClientCaptions.assign(kCaptionSlots, std::string());
  ReagentUsed.fill(0);
  for (int p = kUserPages; p < kTabPages; ++p) {
    for (int s = 0; s < kSlotsPerPage; ++s) {
      SpellSlot[static_cast<size_t>(p)][static_cast<size_t>(s)] = (p - kUserPages) * 8 + s;
    }
  }
  UndoSpell = -1;
  UndoLastWasCast = false;

  // A save killed mid-write leaves its temporary file; nobody else saves in this folder now.
  RemoveStaleTemporaryFiles(programDir_);
  SetUser(LastUserOfUsersFile());
  // Left untouched until a page is composed into it: no memory is taken for pages never shown.
  BarBitmap = win::CreateDib32(8 * ImageSrc.cell, ImageSrc.cell * kTabPages);
  for (int i = 0; i < kReagentCount; ++i) DrawReagentIcon(ReagentImage(i), i);
  LinkAssistant();
  LoadProfile();
  BuildSpellBar();
  WriteCounters();
}

void TForm_Main::Show(int showCommand) {
  ShowWindow(hwnd(), showCommand);
  UpdateWindow(hwnd());
  FormShow();
}

void TForm_Main::FormShow() {
  ApplyTopmost();
}

void TForm_Main::ApplyTopmost() {
  SetWindowPos(hwnd(), AlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE);
}

void TForm_Main::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  UnlinkAssistant();
  SaveAtShutdown();
  BarBitmap.reset();
  ClientCaptions.clear();
}

// ------------------------------------------------------------------ dialogs of the strip

void TForm_Main::SpeedButton_ConfigClick() {
  std::optional<win::HourglassScope> hourglass(std::in_place);
  {
    TForm_Config::Resources resources;
    resources.castingFont = ConfigDialogFont();
    for (int r = 0; r < kReagentCount; ++r) {
      resources.reagentPictures[static_cast<size_t>(r)] = ReagentImage(r).BitmapHandle();
    }
    // The icons are drawn as pages first show them: the About picture's may not be yet.
    for (int i : kAboutSpells) ImageSrc.Draw(i);
    resources.spellAtlas = ImageSrc.normal.get();
    ConfigData data;
    data.ReagentCost = ReagentCost;
    std::copy_n(SpellSlot.begin(), kUserPages, data.UserSlot.begin());
    data.Spells = Spells;
    data.ClientCaption = ClientCaption;
    data.ClientCaptions = ClientCaptions;
    data.AlwaysOnTop = AlwaysOnTop;
    data.WarnCasts = WarnCasts;
    data.EnableSpellCasting = SpeedButton_Casting->Down();
    data.ClassicUOFolder = ClassicUOFolder;
    TForm_Config dialog(hwnd(), resources, data);
    dialog.Character = CurrentUser;
    hourglass.reset();
    if (const std::optional<ConfigData> result = dialog.Execute()) {
      hourglass.emplace();
      ReagentCost = result->ReagentCost;
      std::copy(result->UserSlot.begin(), result->UserSlot.end(), SpellSlot.begin());
      // The cast counts stay the ledger's: casts booked while the dialog was open stay booked.
      for (int i = 0; i < kSpellCount; ++i) {
        Spells[static_cast<size_t>(i)].AssignSettings(result->Spells[static_cast<size_t>(i)]);
      }
      ClientCaption = result->ClientCaption;
      ClientCaptions = result->ClientCaptions;
      ClassicUOFolder = result->ClassicUOFolder;
      AlwaysOnTop = result->AlwaysOnTop;
      WarnCasts = result->WarnCasts;
      SpeedButton_Casting->SetDown(result->EnableSpellCasting);
      BuildSpellBar();
      PaintBox1->Repaint();
      RefreshSlotLabels();
      Panel1->SetCaption(" Spell Information...");
    }
  }  // the dialog is destroyed, whatever its result
  hourglass.reset();
  ApplyTopmost();
}

void TForm_Main::SpeedButton_bankClick() {
  {
    std::array<HBITMAP, kReagentCount> icons{};
    for (int r = 0; r < kReagentCount; ++r) {
      icons[static_cast<size_t>(r)] = ReagentImage(r).BitmapHandle();
    }
    ReadCounters();
    TBankReagentDialog dialog(hwnd(), icons,
                              {{BackpackReagent, BankReagent}, AdjustRegsInBackpack});
    if (const std::optional<BankVisit> visit = dialog.Execute()) {
      // Only what the player changed: reports booked meanwhile stay booked.
      ReadCounters();
      BankSides ledger{BackpackReagent, BankReagent};
      ApplyBankVisit(ledger, dialog.Opened().sides, visit->sides);
      BackpackReagent = ledger.backpack;
      BankReagent = ledger.bank;
      AdjustRegsInBackpack = visit->target;
      WriteCounters();
    }
  }
  ApplyTopmost();
}

void TForm_Main::SpeedButton_SaveClick() {
  {
    TForm_ChrList dialog(hwnd(), ConfigDialogFont(), programDir_, {CurrentUser});
    dialog.SaveCurrentProfile = [this] { return SaveCopySource(); };
    dialog.Told = &unusableProfilesTold_;
    if (const std::optional<CharacterChoice> choice = dialog.Execute()) {
      const std::string& name = choice->name;
      win::HourglassScope hourglass;
      // After a failed save the player decides: the character stays current unless they switch
      // anyway.
      if (SaveBeforeSwitch(name) && name != CurrentUser) {
        SetUser(name);
        LoadProfile();
        BuildSpellBar();
        WriteCounters();
        PaintBox1->Repaint();
      }
    }
  }
  ApplyTopmost();
}

void TForm_Main::SpeedButton_GraphClick() {
  {
    std::array<HBITMAP, kReagentCount> icons{};
    for (int r = 0; r < kReagentCount; ++r) {
      icons[static_cast<size_t>(r)] = ReagentImage(r).BitmapHandle();
    }
    TForm_Statistical dialog(hwnd(), icons, {ReagentUsed, ReagentCost, Spells});
    const std::optional<AnalysisOutcome> outcome = dialog.Execute();
    if (outcome && outcome->clearData) {
      ReagentUsed.fill(0);
      for (TSpell& spell : Spells) spell.CastCount = 0;
    }
  }
  ApplyTopmost();
}

// ------------------------------------------------------------------ assistant program

void TForm_Main::LinkAssistant() {
  SpeedButton_Count->SetEnabled(Assistant.Link(hwnd()));
}

void TForm_Main::UnlinkAssistant() {
  Assistant.Unlink();
}

void TForm_Main::SpeedButton_CountClick() {
  Assistant.RequestCount();
}

void TForm_Main::Timer_CountReagentTimer() {
  Assistant.CountTimerTick();
}

void TForm_Main::OnAssistReagentCount(WPARAM wp, LPARAM lp) {
  Assistant.OnReagentCount(wp, lp);
}

void TForm_Main::OnAssistSpellCast(WPARAM wp, LPARAM) {
  Assistant.OnSpellCast(wp);
}

void TForm_Main::OnAssistCounterChanged(WPARAM wp, LPARAM lp) {
  Assistant.OnCounterChanged(wp, lp);
}

void TForm_Main::ShowCounting(bool counting) {
  if (counting) {
    SpeedButton_Count->SetEnabled(false);
    Timer_CountReagent->SetEnabled(true);  // started afresh
    return;
  }
  if (Timer_CountReagent->Enabled()) Timer_CountReagent->SetEnabled(false);
  SpeedButton_Count->SetEnabled(true);
}

void TForm_Main::ShowStatus(const char* text) {
  Panel1->SetCaption(text);
}

HWND TForm_Main::GameClient() {
  return FindClientWindow(GameWindowSearch());
}

void TForm_Main::ShowCountSource(CountSource source) {
  SpeedButton_Count->SetEnabled(source != CountSource::None);
  SpeedButton_Count->SetHint(
      source == CountSource::ClientOnly ? "Count: ClassicUO gives no reagent counts" : "Count");
}

// ------------------------------------------------------------------ message dispatch

LRESULT TForm_Main::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kAssistReagentCountMessage:
      OnAssistReagentCount(wp, lp);
      return 0;
    case kAssistSpellCastMessage:
      OnAssistSpellCast(wp, lp);
      return 0;
    case kApiCounterMessage:
      OnAssistCounterChanged(wp, lp);
      return 0;
    case kRefreshCountersMessage:
      CountersRefreshPosted = false;
      WriteCounters();
      return 0;
    case WM_CLOSE:
      // A close that arrives while the shutdown runs (its error box is open, say) is ignored:
      // the window must outlive the save that reads its position.
      if (closing_ || saveQuestionOpen_) return 0;
      closing_ = true;
      if (!FormCloseQuery()) {
        closing_ = false;  // the player keeps Quillorb running
        return 0;
      }
      FormDestroy();
      DestroyWindow(hwnd());
      return 0;
    case WM_MOUSEMOVE:
    case WM_MOUSEACTIVATE:
      // The pointer comes over the strip, or a click is about to take the activation: the window
      // in front is the one the player used last, the game client a cast should go to. (Under
      // Wine a click into another program does not always tell the strip that it lost the
      // activation, and a click on the strip then takes it back at once: the move on the way
      // here is the moment the player's window is still seen in front.)
      if (HWND foreground = GetForegroundWindow()) {
        clientHistory_.Note(foreground);
        // A click on a spell slot while the game is in front leaves the game there: it keeps the
        // keyboard, and the cast's keys reach it at once instead of after two switches of windows.
        if (msg == WM_MOUSEACTIVATE && LOWORD(lp) == HTCLIENT && SlotUnderCursor() &&
            IsGameWindow(foreground)) {
          return MA_NOACTIVATE;
        }
      }
      // The pointer on its way to the Count button: what the game client in use offers now.
      if (msg == WM_MOUSEMOVE) Assistant.FollowClient(false);
      return Form::OnMessage(msg, wp, lp);
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) clientHistory_.Note(GetForegroundWindow());
      return Form::OnMessage(msg, wp, lp);
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wp) FormDestroy();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return Form::OnMessage(msg, wp, lp);
  }
}

}  // namespace quillorb
