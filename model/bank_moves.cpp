#include "model/bank_moves.h"

#include <algorithm>

namespace quillorb {

int32_t MoveReagents(int32_t& from, int32_t& to, int32_t amount, int32_t limit) {
  const int32_t room = std::max(limit - std::max(to, 0), 0);
  const int32_t moved = std::clamp(std::min({amount, from, room}), 0, limit);
  from -= moved;
  to += moved;
  return moved;
}

void AdjustBackpack(int32_t& backpack, int32_t& bank, int32_t target, int32_t backpackLimit,
                    int32_t bankLimit) {
  const int64_t total = int64_t{backpack} + bank;
  // The backpack takes the target, unless the stock is smaller, the backpack cannot hold it or the
  // bank cannot hold the rest.
  int64_t wanted = std::min<int64_t>({std::max(target, 0), total, backpackLimit});
  const int64_t least = std::max<int64_t>(total - bankLimit, 0);
  // More stock than both sides hold (only from counts beyond the limits): nothing is moved.
  if (least > backpackLimit) return;
  wanted = std::max(wanted, least);
  backpack = static_cast<int32_t>(wanted);
  bank = static_cast<int32_t>(total - wanted);
}

void ApplyBankVisit(BankSides& ledger, const BankSides& opened, const BankSides& closed) {
  for (size_t r = 0; r < kReagentCount; ++r) {
    int64_t backpack = int64_t{ledger.backpack[r]} + closed.backpack[r] - opened.backpack[r];
    int64_t bank = int64_t{ledger.bank[r]} + closed.bank[r] - opened.bank[r];
    // What the backpack cannot hold stays in the bank; what casts booked meanwhile took of
    // reagents the player has since moved to the bank comes out of the bank.
    const int64_t kept = std::clamp<int64_t>(backpack, 0, kBackpackMax);
    bank += backpack - kept;
    ledger.backpack[r] = static_cast<int32_t>(kept);
    ledger.bank[r] = static_cast<int32_t>(std::clamp<int64_t>(bank, 0, kBankFieldMax));
  }
}

}  // namespace quillorb
