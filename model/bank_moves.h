// The bank visit's arithmetic: moving reagents between the backpack and the bank box, and topping
// every backpack count up (or trimming it down) to a target. The backpack holds at most
// kBackpackMax of a reagent (what the strip's counters show), the bank at most kBankFieldMax, and
// no reagent is created or lost: backpack + bank is the same before and after every operation.
#pragma once

#include <cstdint>

#include "model/spell.h"

namespace quillorb {

inline constexpr int32_t kBankFieldMax = 9999;
inline constexpr int32_t kBackpackMax = 999;

// Moves `amount` from `from` to `to`, but only what `from` holds and `to` can take below `limit`.
// Returns the number moved.
int32_t MoveReagents(int32_t& from, int32_t& to, int32_t amount, int32_t limit = kBankFieldMax);

// The two directions of the dialog's arrows, each with the limit of the side that receives.
inline int32_t MoveToBackpack(int32_t& backpack, int32_t& bank, int32_t amount) {
  return MoveReagents(bank, backpack, amount, kBackpackMax);
}
inline int32_t MoveToBank(int32_t& backpack, int32_t& bank, int32_t amount) {
  return MoveReagents(backpack, bank, amount, kBankFieldMax);
}

// Brings the backpack to `target` by taking from or giving back to the bank: as near to the target
// as the bank's stock and the limits of both sides allow.
void AdjustBackpack(int32_t& backpack, int32_t& bank, int32_t target,
                    int32_t backpackLimit = kBackpackMax, int32_t bankLimit = kBankFieldMax);

// What a bank visit did, applied to the ledger as it is when the dialog closes: each side changes
// by what the player changed in the dialog (`closed` - `opened`), so that reports booked while the
// dialog was open are kept. A backpack that would end above kBackpackMax leaves the rest in the
// bank; one that would end below 0 (casts took reagents the player moved to the bank meanwhile)
// takes the shortfall from the bank. Backpack + bank thus change by what the dialog changed and
// what was booked meanwhile, no more.
struct BankSides {
  ReagentCounts backpack{};
  ReagentCounts bank{};
};
void ApplyBankVisit(BankSides& ledger, const BankSides& opened, const BankSides& closed);

}  // namespace quillorb
