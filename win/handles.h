// RAII owners for the kernel, GDI and USER handles the program opens and creates, and scopes for
// what is borrowed for a while (a window's DC, an object selected into a DC, a paint).
#pragma once

#include <windows.h>

#include <utility>

namespace win {

// One owner for every kind of handle the program opens or creates. A policy says three things
// about a kind: its handle type, the value that means "no handle" (the one its creating function
// returns on failure, so that a failed creation is simply an empty owner), and how one is closed.
// An owner closes what it holds when it goes or is reset, never the "no handle" value; it moves
// and cannot be copied.
template <typename Policy>
class Unique {
 public:
  using Handle = typename Policy::Handle;

  Unique() = default;
  explicit Unique(Handle h) : h_(h) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : h_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Unique() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Policy::Invalid(); }
  void reset(Handle h = Policy::Invalid()) {
    if (*this) Policy::Close(h_);
    h_ = h;
  }
  Handle release() { return std::exchange(h_, Policy::Invalid()); }

 private:
  Handle h_ = Policy::Invalid();
};

namespace policy {

// CreateFont, CreateCompatibleDC, CreateWindowEx, OpenProcess, CreateMutex and the like return
// nullptr when they fail.
template <typename H>
struct NullIsEmpty {
  using Handle = H;
  static H Invalid() { return nullptr; }
};

// CreateFile and FindFirstFile return INVALID_HANDLE_VALUE when they fail (nullptr is a value they
// never return, so it needs no special case).
struct InvalidIsEmpty {
  using Handle = HANDLE;
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
};

template <typename H>
struct GdiObject : NullIsEmpty<H> {
  static void Close(H h) { DeleteObject(h); }
};
struct Icon : NullIsEmpty<HICON> {
  static void Close(HICON h) { DestroyIcon(h); }
};
struct MemoryDc : NullIsEmpty<HDC> {
  static void Close(HDC h) { DeleteDC(h); }
};
struct KernelObject : NullIsEmpty<HANDLE> {
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct Window : NullIsEmpty<HWND> {
  static void Close(HWND h) { DestroyWindow(h); }
};
struct LocalMemory : NullIsEmpty<HLOCAL> {
  static void Close(HLOCAL h) { LocalFree(h); }
};
struct File : InvalidIsEmpty {
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct Find : InvalidIsEmpty {
  static void Close(HANDLE h) { FindClose(h); }
};
// A COM interface pointer we hold a reference of.
template <typename I>
struct ComObject : NullIsEmpty<I*> {
  static void Close(I* p) { p->Release(); }
};

}  // namespace policy

using Font = Unique<policy::GdiObject<HFONT>>;
using Bitmap = Unique<policy::GdiObject<HBITMAP>>;
using Brush = Unique<policy::GdiObject<HBRUSH>>;
using Pen = Unique<policy::GdiObject<HPEN>>;
using Icon = Unique<policy::Icon>;
using MemoryDc = Unique<policy::MemoryDc>;    // from CreateCompatibleDC
using Handle = Unique<policy::KernelObject>;  // a process, a mutex, an event
using FileHandle = Unique<policy::File>;
using FindHandle = Unique<policy::Find>;
// A buffer the system allocated for us with LocalAlloc (FormatMessage's).
using LocalMemory = Unique<policy::LocalMemory>;
// A window the program creates and destroys itself, not wrapped by a Window object (a tooltip).
using OwnedWindow = Unique<policy::Window>;
template <typename I>
using ComPtr = Unique<policy::ComObject<I>>;

// Selects an object into a DC for the lifetime of the scope.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;
  ~SelectScope() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window DC obtained with GetDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() { ReleaseDC(hwnd_, dc_); }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint / EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { BeginPaint(hwnd, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  HDC dc() const { return ps_.hdc; }
  const RECT& rect() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
};

}  // namespace win
