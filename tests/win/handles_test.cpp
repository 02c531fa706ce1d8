// The one handle owner: each kind of handle is closed by its own call, a failed creation (its
// kind's "no handle" value) is an empty owner that closes nothing, and ownership moves.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "win/handles.h"

namespace quillorb {
namespace {

// A kind whose "no handle" value is -1, so that 0 is a handle like any other; it records what it
// closes.
std::vector<int> g_closed;
struct CountedPolicy {
  using Handle = int;
  static int Invalid() { return -1; }
  static void Close(int h) { g_closed.push_back(h); }
};
using Counted = win::Unique<CountedPolicy>;

TEST(Handles, OwnershipMovesAndEachHandleIsClosedOnce) {
  g_closed.clear();
  {
    Counted none;
    EXPECT_FALSE(none);
    Counted zero(0);
    EXPECT_TRUE(zero);  // only the kind's own "no handle" value is empty
    Counted moved(std::move(zero));
    EXPECT_FALSE(zero);
    EXPECT_EQ(moved.get(), 0);
    Counted other(1);
    other = std::move(moved);  // 1 closed, 0 now held by `other`
    EXPECT_EQ(g_closed, std::vector<int>{1});
    Counted released(2);
    EXPECT_EQ(released.release(), 2);  // given away: not closed
    Counted replaced(3);
    replaced.reset(4);  // 3 closed
    replaced.reset();   // 4 closed
    EXPECT_EQ(g_closed, (std::vector<int>{1, 3, 4}));
  }
  EXPECT_EQ(g_closed, (std::vector<int>{1, 3, 4, 0}));  // `other` held 0
}

bool KernelHandleOpen(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != FALSE;
}

// For each kind: a created handle is held and open until the owner lets it go; a failed creation
// gives an empty owner.
template <typename Owner, typename Make, typename IsOpen, typename MakeFailed>
void ExpectOwns(const char* kind, Make make, IsOpen isOpen, MakeFailed makeFailed) {
  SCOPED_TRACE(kind);
  Owner owner(make());
  ASSERT_TRUE(owner);
  const auto h = owner.get();
  EXPECT_TRUE(isOpen(h));
  owner.reset();
  EXPECT_FALSE(isOpen(h));
  EXPECT_FALSE(Owner(makeFailed()));
}

TEST(Handles, EachKindIsClosedByItsOwnCall) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring file = std::wstring(folder) + L"quillorb-handles-test.tmp";
  const std::wstring missing = std::wstring(folder) + L"quillorb-no-such-folder\\x";
  WIN32_FIND_DATAW found{};

  ExpectOwns<win::FileHandle>(
      "file",
      [&] {
        return CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_FLAG_DELETE_ON_CLOSE, nullptr);
      },
      KernelHandleOpen,
      [&] {
        return CreateFileW(missing.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      });
  ExpectOwns<win::FindHandle>(
      "find", [&] { return FindFirstFileW((std::wstring(folder) + L"*").c_str(), &found); },
      [&](HANDLE h) { return FindNextFileW(h, &found) || GetLastError() != ERROR_INVALID_HANDLE; },
      [&] { return FindFirstFileW(missing.c_str(), &found); });
  ExpectOwns<win::Handle>(
      "event", [] { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }, KernelHandleOpen,
      [] { return OpenEventW(SYNCHRONIZE, FALSE, L"Quillorb.NoSuchEvent"); });

  const auto gdiType = [](HGDIOBJ h) { return GetObjectType(h) != 0; };
  ExpectOwns<win::Font>(
      "font",
      [] {
        return CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                           L"Arial");
      },
      gdiType, [] { return CreateFontIndirectW(nullptr); });
  ExpectOwns<win::Bitmap>(
      "bitmap", [] { return CreateBitmap(4, 4, 1, 32, nullptr); }, gdiType,
      [] { return CreateCompatibleBitmap(nullptr, 4, 4); });
  ExpectOwns<win::MemoryDc>(
      "memory DC", [] { return CreateCompatibleDC(nullptr); }, gdiType,
      [] { return static_cast<HDC>(nullptr); });
  ExpectOwns<win::OwnedWindow>(
      "window",
      [] {
        return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
      },
      [](HWND h) { return IsWindow(h) != FALSE; },
      [] {
        return CreateWindowExW(0, L"Quillorb.NoSuchClass", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr);
      });
}

}  // namespace
}  // namespace quillorb
