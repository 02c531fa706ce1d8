// Subclassing a window: procedures of ours put in front of the window's own, the one way the
// program does it (the system controls it wraps, and the parts they are made of, such as a combo
// box's edit field).
//
// It works as the common controls' SetWindowSubclass does, without loading that library at start
// (which costs start-up time): the first subclass of a window swaps the window's procedure for
// ours, once, and keeps the window's own; every further one joins a chain kept with the window. A
// message goes down the chain from the subclass installed last, each handing on what it does not
// handle with CallNext, and reaches the window's own procedure last. Subclasses can be removed in
// any order. When someone else swapped in a procedure after ours, ours cannot leave without
// breaking their chain: it stays below theirs, handing every message on, until the window goes.
//
// Unicode throughout: the procedures are swapped and called with the wide functions, so the
// window is a Unicode window (its WM_CHAR carries UTF-16 units), as it is when it was created
// with CreateWindowExW. When the window goes (WM_NCDESTROY), every subclass is taken out and told
// before the window's own procedure sees the message.
//
// For windows of the system classes: while our procedure is in front, the window's user data
// (GWLP_USERDATA, which those classes leave to the program) holds the chain.
#pragma once

#include <windows.h>

namespace win {

class Subclass {
 public:
  Subclass() = default;
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;
  virtual ~Subclass() { Remove(); }

  // Puts this subclass in front of the window's procedure (out of the chain it was in first).
  void Install(HWND hwnd);
  // Takes it out of its chain; nothing when it is in none.
  void Remove();
  bool Installed() const { return chain_ != nullptr; }

  // The subclass of type T on the window, or nullptr.
  template <typename T>
  static T* Find(HWND hwnd) {
    for (Subclass* s = First(hwnd); s; s = s->Below()) {
      if (auto* found = dynamic_cast<T*>(s)) return found;
    }
    return nullptr;
  }

 protected:
  // A message for the window, before the subclasses installed earlier see it. It must not let an
  // exception out: one that comes is reported and the message handed on.
  virtual LRESULT OnSubclassMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return CallNext(hwnd, msg, wp, lp);
  }
  // The window is going (WM_NCDESTROY): this subclass has been taken out of it.
  virtual void OnWindowGone() {}
  // Hands a message on to the next procedure of the chain.
  LRESULT CallNext(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) const;

 private:
  struct Chain;
  static Chain* ChainOf(HWND hwnd);
  static Subclass* First(HWND hwnd);
  Subclass* Below() const;
  static LRESULT Dispatch(Subclass* s, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  Chain* chain_ = nullptr;
  // The window's own procedure, kept for a message still under way when the subclass was taken
  // out (it is handed on there).
  WNDPROC last_ = nullptr;
};

}  // namespace win
