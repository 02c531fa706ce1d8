// The strip and every dialog moved onto monitors of other scales (WM_DPICHANGED, as the system
// sends it): each lays itself out again from the same 96-DPI design, with fonts made for the new
// scale, hit areas and pictures where they are drawn, the window where the system suggests, and
// comes back unchanged. The program runs at 96, 144 and 192 DPI (tests/CMakeLists.txt), so the
// windows also start at each of those scales.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/spell_art.h"
#include "client/danger_dialog.h"
#include "dialogs/bank_dialog.h"
#include "dialogs/chr_list.h"
#include "dialogs/form_config.h"
#include "dialogs/save_question.h"
#include "dialogs/statistic.h"
#include "tests/harness/harness.h"
#include "tests/win/main_window_fixture.h"
#include "win/bitmap.h"
#include "win/input_box.h"

namespace quillorb {
namespace {

// What a form's layout is: the client area, its graphic controls and every visible window inside
// it (in its parent's coordinates), in a fixed order.
struct Layout {
  struct Window {
    RECT rect;
    std::string kind;     // the window class
    bool heightBySystem;  // a combo box: its field is as high as its font needs
  };
  SIZE client{};
  std::vector<RECT> controls;
  std::vector<Window> windows;
  LONG fontHeight = 0;
};

Layout Snapshot(const win::Form& form) {
  Layout out;
  const RECT client = form.ClientRect();
  out.client = {client.right, client.bottom};
  for (const win::GraphicControl* c : form.Controls()) out.controls.push_back(c->Bounds());
  EnumChildWindows(
      form.hwnd(),
      [](HWND child, LPARAM lp) -> BOOL {
        if (!IsWindowVisible(child)) return TRUE;
        // A combo box places its own field.
        if (harness::ClassName(GetParent(child)) == "ComboBox") return TRUE;
        const std::string kind = harness::ClassName(child);
        reinterpret_cast<Layout*>(lp)->windows.push_back(
            {harness::ChildRect(child), kind, kind == "ComboBox"});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  LOGFONTW lf{};
  GetObjectW(form.Font(), sizeof lf, &lf);
  out.fontHeight = lf.lfHeight;
  return out;
}

bool Same(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != FALSE;
}

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// The form moved onto a monitor of `dpi`, its top-left corner where the system suggests.
void MoveToScale(win::Form& form, int dpi, POINT at) {
  RECT suggested{at.x, at.y, at.x + 100, at.y + 100};
  SendMessageW(form.hwnd(), win::kDpiChangedMessage, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
}

// `now` is the 96-DPI `design` at `dpi`: the client area and every window exactly (a combo box's
// place and width; a page of a tab control fills what the tabs leave); every graphic control at its
// place (a label sized to its text keeps its top and the edge it is aligned by). `exact` false: the
// form sizes itself to a text measured at each scale.
void ExpectScaled(const Layout& design, const Layout& now, win::Dpi dpi, bool exact = true) {
  EXPECT_EQ(now.client.cx, dpi.Scale(design.client.cx));
  if (exact) {
    EXPECT_EQ(now.client.cy, dpi.Scale(design.client.cy));
  }
  EXPECT_EQ(now.fontHeight, dpi.Scale(design.fontHeight));
  ASSERT_EQ(now.controls.size(), design.controls.size());
  for (size_t i = 0; i < now.controls.size(); ++i) {
    const RECT want = dpi.Scale(design.controls[i]);
    const RECT& r = now.controls[i];
    EXPECT_TRUE(r.top == want.top && (r.left == want.left || r.right == want.right))
        << "control " << i << " at " << Text(r) << ", laid out " << Text(want);
  }
  ASSERT_EQ(now.windows.size(), design.windows.size());
  for (size_t i = 0; i < now.windows.size(); ++i) {
    const Layout::Window& w = design.windows[i];
    if (w.kind == "QuillorbTabSheet") continue;
    const RECT want = dpi.Scale(w.rect);
    const RECT& r = now.windows[i].rect;
    EXPECT_TRUE(r.left == want.left && r.top == want.top && r.right == want.right &&
                (r.bottom == want.bottom || w.heightBySystem || !exact))
        << "window " << i << " at " << Text(r) << ", laid out " << Text(want);
  }
}

// Every visible window inside the form lies inside its parent's client area, and the caption of
// every push button fits it: nothing cut off at this scale.
void ExpectNothingCut(const win::Form& form) {
  EnumChildWindows(
      form.hwnd(),
      [](HWND child, LPARAM) -> BOOL {
        if (!IsWindowVisible(child)) return TRUE;
        const RECT r = harness::ChildRect(child);
        RECT parent{};
        GetClientRect(GetParent(child), &parent);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= parent.right &&
                    r.bottom <= parent.bottom)
            << harness::ClassName(child) << " " << harness::WindowText(child) << " at " << Text(r)
            << " in " << Text(parent);
        if (harness::ClassName(child) == "Button" &&
            (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) <= BS_DEFPUSHBUTTON) {
          std::wstring caption(256, L'\0');
          caption.resize(static_cast<size_t>(GetWindowTextW(child, caption.data(), 256)));
          std::erase(caption, L'&');
          HDC dc = GetDC(child);
          SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
          SIZE text{};
          GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
          ReleaseDC(child, dc);
          EXPECT_LE(text.cx, r.right - r.left - 4) << harness::WindowText(child);
        }
        return TRUE;
      },
      0);
}

// Every hint of the form answers where its control is drawn now.
void ExpectHintsWhereDrawn(const win::Form& form) {
  HWND tip = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM lp) -> BOOL {
        if (harness::ClassName(w) == TOOLTIPS_CLASSA) *reinterpret_cast<HWND*>(lp) = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip, nullptr);
  for (const win::GraphicControl* c : form.Controls()) {
    if (c->Hint().empty()) continue;
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = form.hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(c);
    ASSERT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti))) << c->Hint();
    EXPECT_TRUE(Same(ti.rect, c->Bounds())) << c->Hint() << " at " << Text(ti.rect);
  }
}

int ExpectedDpi() {
  const char* expected = std::getenv("QUILLORB_EXPECT_DPI");
  return expected ? std::atoi(expected) : win::Dpi::kDesign;
}

class Rescale : public MainWindowFixture {};

TEST_F(Rescale, TheStripLaysItselfOutAtEveryScaleAndComesBackUnchanged) {
  TForm_Main& form = *form_;
  const win::Dpi start = form.Scaling();
  ASSERT_EQ(start.Value(), ExpectedDpi());
  const RECT home = harness::WindowRectOf(form.hwnd());
  const Layout before = Snapshot(form);
  SendMessageW(form.hwnd(), WM_MOUSEMOVE, 0, 0);  // the hints are registered on the first hover
  MoveToScale(form, 96, {home.left, home.top});
  const Layout design = Snapshot(form);
  for (int value : {120, 144, 192}) {
    SCOPED_TRACE(value);
    const win::Dpi dpi(value);
    MoveToScale(form, value, {home.left + 3, home.top + 5});
    const RECT placed = harness::WindowRectOf(form.hwnd());
    EXPECT_EQ(placed.left, home.left + 3);
    EXPECT_EQ(placed.top, home.top + 5);
    ExpectScaled(design, Snapshot(form), dpi);
    ExpectHintsWhereDrawn(form);
    // The last tab stays inside the tab set, whatever the text's width at this scale.
    EXPECT_LE(form.TabSet1->TabRect(kTabPages - 1).right, form.TabSet1->ClientRect().right);
    // A press where a slot is laid out reaches that slot.
    for (int slot = 0; slot < 8; ++slot) {
      const RECT r = dpi.Scale(RECT{270 + 40 * slot, 0, 310 + 40 * slot, 40});
      const win::GraphicControl* hit = form.ControlAt({r.left + 1, r.bottom - 2});
      EXPECT_EQ(hit, &form.SlotBox(slot)) << slot;
    }
    // The first slot's icon on the screen, drawn at this scale (its upper half: the label
    // covers the lower right).
    harness::ShowPainted(form.hwnd());
    const int cell = dpi.Scale(40);
    const win::Pixels atlas = win::ReadPixels(MakeSpellAtlas(false, dpi).get());
    const int spell = form.SlotSpell(0);
    POINT corner{dpi.Scale(270), 0};
    ClientToScreen(form.hwnd(), &corner);
    const std::vector<COLORREF> shown =
        harness::ScreenPixels({corner.x, corner.y, corner.x + cell, corner.y + cell / 2});
    int same = 0;
    for (int y = 0; y < cell / 2; ++y) {
      for (int x = 0; x < cell; ++x) {
        const DWORD px = atlas.At(cell * (spell % 8) + x, cell * (spell / 8) + y);
        same += shown[static_cast<size_t>(y * cell + x)] ==
                RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
      }
    }
    EXPECT_EQ(same, cell * cell / 2);
  }
  MoveToScale(form, start.Value(), {home.left, home.top});
  const Layout after = Snapshot(form);
  EXPECT_EQ(after.client.cx, before.client.cx);
  EXPECT_EQ(after.client.cy, before.client.cy);
  EXPECT_EQ(after.fontHeight, before.fontHeight);
  for (size_t i = 0; i < before.controls.size(); ++i) {
    EXPECT_TRUE(Same(after.controls[i], before.controls[i])) << "control " << i;
  }
  for (size_t i = 0; i < before.windows.size(); ++i) {
    EXPECT_TRUE(Same(after.windows[i].rect, before.windows[i].rect)) << "window " << i;
  }
  EXPECT_TRUE(Same(harness::WindowRectOf(form.hwnd()), home));
}

TEST_F(Rescale, EveryDialogLaysItselfOutAtEveryScale) {
  TForm_Main& main = *form_;
  std::array<HBITMAP, kReagentCount> icons{};
  for (int r = 0; r < kReagentCount; ++r)
    icons[static_cast<size_t>(r)] = main.ReagentImage(r).BitmapHandle();
  const std::string folder = harness::NewTempFolder("rescale");
  TForm_Config::Resources resources;
  resources.castingFont = main.ConfigDialogFont();
  resources.reagentPictures = icons;
  for (int i : kAboutSpells) main.ImageSrc.Draw(i);
  resources.spellAtlas = main.ImageSrc.normal.get();
  struct Case {
    const char* name;
    std::function<std::unique_ptr<win::Form>()> open;
    bool exact = true;  // false: sized to a text measured at each scale
  };
  const Case cases[] = {
      {"bank", [&] { return std::make_unique<TBankReagentDialog>(main.hwnd(), icons); }},
      {"characters",
       [&] {
         return std::make_unique<TForm_ChrList>(main.hwnd(), main.ConfigDialogFont(),
                                                harness::AsPath(folder), CharacterChoice{});
       }},
      {"analysis",
       [&] {
         return std::make_unique<TForm_Statistical>(
             main.hwnd(), icons, AnalysisData{main.ReagentUsed, main.ReagentCost, main.Spells});
       }},
      {"configuration",
       [&] {
         auto d = std::make_unique<TForm_Config>(main.hwnd(), resources);
         d->FillPages();
         for (int p = kConfigPageCount - 1; p >= 0; --p) d->PageControl1->SetActivePage(p);
         return d;
       }},
      {"danger", [&] { return std::make_unique<TOKBottomDlg>(main.hwnd()); }},
      {"save question",
       [&] {
         return std::make_unique<TSaveQuestion>(
             main.hwnd(), main.ConfigDialogFont(),
             SaveQuestion{L"The profile could not be saved.\nA second line of the question.",
                          "&Close anyway"});
       },
       false},
      {"input box",
       [&] { return std::make_unique<win::InputBox>(main.hwnd(), "Caption", "Prompt", "text"); }},
  };
  const win::Dpi start = main.Scaling();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<win::Form> dialog = c.open();
    ShowWindow(dialog->hwnd(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(dialog->Scaling(), start);
    ExpectNothingCut(*dialog);
    const RECT home = harness::WindowRectOf(dialog->hwnd());
    MoveToScale(*dialog, 96, {home.left, home.top});
    const Layout design = Snapshot(*dialog);
    for (int value : {144, 192}) {
      SCOPED_TRACE(value);
      MoveToScale(*dialog, value, {home.left, home.top});
      ExpectScaled(design, Snapshot(*dialog), win::Dpi(value), c.exact);
      ExpectNothingCut(*dialog);
      if (auto* config = dynamic_cast<TForm_Config*>(dialog.get())) {
        for (int p = 1; p <= kConfigPageCount; ++p) {
          config->PageControl1->SetActivePage(p % kConfigPageCount);
          ExpectNothingCut(*dialog);
        }
      }
    }
    if (auto* config = dynamic_cast<TForm_Config*>(dialog.get())) {
      // The tabs keep their two rows; the grids their columns and rows, scaled.
      EXPECT_EQ(SendMessageW(config->PageControl1->hwnd(), TCM_GETROWCOUNT, 0, 0), 2);
      const RECT cell = config->StringGrid_Macro->CellRect(1, 1);
      EXPECT_EQ(cell.right - cell.left, win::Dpi(192).Scale(40));
      EXPECT_EQ(cell.bottom - cell.top, win::Dpi(192).Scale(16));
    }
    MoveToScale(*dialog, start.Value(), {home.left, home.top});
    EXPECT_EQ(Snapshot(*dialog).client.cx, dialog->Scaling().Scale(design.client.cx));
  }
  harness::RemoveFolder(folder);
}

}  // namespace
}  // namespace quillorb
