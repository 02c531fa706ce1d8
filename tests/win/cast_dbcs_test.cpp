// Casting words with double-byte characters of the ANSI code page. This program runs under a
// Japanese locale (code page 932, see tests/CMakeLists.txt); under any other it skips.
//
// What Cast posts is recorded at its call of PostMessageA (the import is redirected in this
// process), because the system converts posted WM_IME_CHAR codes to Unicode and back on the way to
// an ANSI window: a lead byte without its trail byte arrives as the code page's default character.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/spell.h"
#include "tests/win/client_standin.h"
#include "tests/win/test_cast_host.h"

namespace quillorb {
namespace {

using PostMessageAFunction = BOOL(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
PostMessageAFunction g_postMessageA = nullptr;
std::vector<WPARAM> g_postedImeChars;

BOOL WINAPI RecordingPostMessageA(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_IME_CHAR) g_postedImeChars.push_back(wp);
  return g_postMessageA(window, msg, wp, lp);
}

// Points this program's import of `function` from `dll` at `replacement`; returns the previous
// target, or nullptr when the import is not there.
void* RedirectImport(const char* dll, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name;
       ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      void* previous = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return previous;
    }
  }
  return nullptr;
}

class RecordPostedImeChars {
 public:
  RecordPostedImeChars() {
    g_postedImeChars.clear();
    g_postMessageA = reinterpret_cast<PostMessageAFunction>(RedirectImport(
        "user32.dll", "PostMessageA", reinterpret_cast<void*>(&RecordingPostMessageA)));
  }
  ~RecordPostedImeChars() {
    if (g_postMessageA) {
      RedirectImport("user32.dll", "PostMessageA", reinterpret_cast<void*>(g_postMessageA));
    }
  }
  bool Active() const { return g_postMessageA != nullptr; }
};

TEST(CastText, DoubleByteCharactersTravelAsOneCode) {
  if (GetACP() != 932) {
    GTEST_SKIP() << "the ANSI code page is " << GetACP()
                 << ", not 932: run with LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8";
  }
  TestCastHost main;
  standin::FakeClient client;
  client.Mark();
  TSpell spell;
  spell.Key = 'Q';
  spell.Alt = spell.Ctrl = spell.Shift = false;
  // "a", HIRAGANA A (0x82 0xA0), "b", then a lead byte with no trail byte.
  spell.CastText =
      "a\x82\xA0"
      "b\x82";
  ReagentCounts stock{}, used{};
  {
    RecordPostedImeChars record;
    ASSERT_TRUE(record.Active());
    ASSERT_TRUE(spell.Cast(CastMode::IntoGame, stock, used, main.caster));
  }
  EXPECT_EQ(g_postedImeChars, (std::vector<WPARAM>{'a', 0x82A0, 'b', 0x8200}));

  std::vector<WPARAM> chars;
  for (const standin::ClientMessage& m : client.InputUpToMarker()) {
    if (m.msg != WM_IME_CHAR) continue;
    EXPECT_EQ(m.lp, 1);
    chars.push_back(m.wp);
  }
  // The double-byte character arrives as one message; the lone lead byte as whatever the
  // system's conversion makes of it, but as one message too.
  ASSERT_EQ(chars.size(), 4u);
  EXPECT_EQ(chars[0], WPARAM{'a'});
  EXPECT_EQ(chars[1], WPARAM{0x82A0});
  EXPECT_EQ(chars[2], WPARAM{'b'});
}

}  // namespace
}  // namespace quillorb
