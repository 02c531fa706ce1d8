#include "win/subclass.h"

#include <algorithm>
#include <vector>

#include "win/window.h"

namespace win {
namespace {
// Where the chain is found when our procedure is not the window's own (someone else's is in
// front): a property costs Wine a request to its server, so the window's user data, free on the
// system classes and read at once, is used while ours is in front.
constexpr wchar_t kChainProperty[] = L"Quillorb.Subclasses";
}  // namespace

struct Subclass::Chain {
  HWND hwnd;
  WNDPROC original;                   // the window's own procedure, last in the chain
  std::vector<Subclass*> subclasses;  // in the order installed: the last sees a message first
  int depth = 0;                      // messages under way through the chain
  bool windowGone = false;

  bool InFront() const {
    return GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Procedure);
  }
  // Gives the window its own procedure back, when nothing is left to do and nobody else's is
  // in front of ours.
  static void Settle(Chain* chain) {
    if (chain->depth > 0) return;
    if (!chain->windowGone) {
      if (!chain->subclasses.empty() || !chain->InFront()) return;
      SetWindowLongPtrW(chain->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->original));
      SetWindowLongPtrW(chain->hwnd, GWLP_USERDATA, 0);
      RemovePropW(chain->hwnd, kChainProperty);
    }
    delete chain;
  }
};

Subclass::Chain* Subclass::ChainOf(HWND hwnd) {
  if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Procedure)) {
    return reinterpret_cast<Chain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  return static_cast<Chain*>(GetPropW(hwnd, kChainProperty));
}

void Subclass::Install(HWND hwnd) {
  Remove();
  Chain* chain = ChainOf(hwnd);
  if (!chain) {
    chain = new Chain{hwnd, nullptr, {}};
    SetPropW(hwnd, kChainProperty, chain);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(chain));
    chain->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
  }
  chain->subclasses.push_back(this);
  chain_ = chain;
  last_ = nullptr;
}

void Subclass::Remove() {
  if (!chain_) return;
  Chain* chain = chain_;
  chain_ = nullptr;
  last_ = chain->original;
  auto& list = chain->subclasses;
  list.erase(std::find(list.begin(), list.end(), this));
  Chain::Settle(chain);
}

Subclass* Subclass::First(HWND hwnd) {
  Chain* chain = hwnd ? ChainOf(hwnd) : nullptr;
  return chain && !chain->subclasses.empty() ? chain->subclasses.back() : nullptr;
}

Subclass* Subclass::Below() const {
  if (!chain_) return nullptr;
  const auto& list = chain_->subclasses;
  const auto at = std::find(list.begin(), list.end(), this);
  return at == list.begin() || at == list.end() ? nullptr : *(at - 1);
}

LRESULT Subclass::CallNext(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) const {
  if (Subclass* below = Below()) return Dispatch(below, hwnd, msg, wp, lp);
  const WNDPROC own = chain_ ? chain_->original : last_;
  return own ? CallWindowProcW(own, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Subclass::Dispatch(Subclass* s, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    return s->OnSubclassMessage(hwnd, msg, wp, lp);
  } catch (...) {
    ReportException();
    return s->CallNext(hwnd, msg, wp, lp);
  }
}

LRESULT CALLBACK Subclass::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Chain* chain = ChainOf(hwnd);
  if (!chain) return DefWindowProcW(hwnd, msg, wp, lp);
  const WNDPROC own = chain->original;
  if (msg == WM_NCDESTROY) {
    // Every subclass is taken out and told, the last installed first; the window's own procedure
    // sees the message after them.
    std::vector<Subclass*> gone;
    gone.swap(chain->subclasses);
    for (Subclass* s : gone) {
      s->chain_ = nullptr;
      s->last_ = own;
    }
    if (chain->InFront()) {
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
    RemovePropW(hwnd, kChainProperty);
    chain->windowGone = true;
    Chain::Settle(chain);
    for (auto s = gone.rbegin(); s != gone.rend(); ++s) (*s)->OnWindowGone();
    return CallWindowProcW(own, hwnd, msg, wp, lp);
  }
  ++chain->depth;
  const LRESULT result = chain->subclasses.empty()
                             ? CallWindowProcW(own, hwnd, msg, wp, lp)
                             : Dispatch(chain->subclasses.back(), hwnd, msg, wp, lp);
  --chain->depth;
  Chain::Settle(chain);
  return result;
}

}  // namespace win
