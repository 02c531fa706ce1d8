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

void AdjustBackpack(int32_t& backpack, int32_t& bank, int32_t target, int32_t limit) {
  const int64_t total = int64_t{backpack} + bank;
  // The backpack takes the target, unless the stock is smaller or the bank cannot hold the rest.
  int64_t wanted = std::min<int64_t>(std::max(target, 0), total);
  const int64_t least = std::clamp<int64_t>(total - limit, 0, limit);
  wanted = std::clamp<int64_t>(wanted, least, limit);
  backpack = static_cast<int32_t>(wanted);
  bank = static_cast<int32_t>(total - wanted);
}

}  // namespace quillorb
