// The bank visit's arithmetic: moving reagents between the backpack and the bank box, and topping
// every backpack count up (or trimming it down) to a target. Each count lies in 0..limit, and no
// reagent is created or lost: backpack + bank is the same before and after every operation.
#pragma once

#include <cstdint>

namespace quillorb {

inline constexpr int32_t kBankFieldMax = 9999;

// Moves `amount` from `from` to `to`, but only what `from` holds and `to` can take below `limit`.
// Returns the number moved.
int32_t MoveReagents(int32_t& from, int32_t& to, int32_t amount, int32_t limit = kBankFieldMax);

// Brings the backpack to `target` by taking from or giving back to the bank: as near to the target
// as the bank's stock and the limit of both counts allow.
void AdjustBackpack(int32_t& backpack, int32_t& bank, int32_t target,
                    int32_t limit = kBankFieldMax);

}  // namespace quillorb
