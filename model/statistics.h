// The consumption figures of a character: what each reagent used has cost, the sum, and the spells
// ranked by how often they were cast. Costs are computed in 64 bits, so that large counts at any
// price stay exact to the gold piece; each cost is truncated toward zero and the sum adds the
// truncated costs. Costs and sums beyond the 64-bit range (hand-edited prices) stay at its ends.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/spell.h"

namespace quillorb {

struct SpellRank {
  int32_t spell = 0;  // index 0..63
  int32_t casts = 0;
  int64_t cost = 0;  // gold spent on the spell, truncated
};

struct Statistics {
  ReagentCounts used{};
  ReagentPrices prices{};
  std::array<int64_t, kReagentCount> cost{};
  int64_t total = 0;
  // The spells cast, most cast first; equal counts in the order of the exchange sort below.
  std::vector<SpellRank> ranking;
  // Rows of the ranking grid, the header row included: 2 when no spell was cast.
  int GridRows() const { return ranking.empty() ? 2 : static_cast<int>(ranking.size()) + 1; }
};

// value truncated toward zero; NaN gives 0 and values beyond the 64-bit range saturate.
int64_t TruncateToInt64(double value);

// The ranking sorts the 64 spell indexes by cast count with a plain exchange sort (for i, for
// j > i: swap when count[i] < count[j]) and keeps them up to the first spell never cast.
Statistics ComputeStatistics(const ReagentCounts& used, const ReagentPrices& prices,
                             const SpellTable& spells);

// The figures as comma-separated values in UTF-8 with a byte-order mark and CRLF line ends: the
// reagent table (code, used, price, cost, and the sum), a blank line, the spell table (rank, name,
// casts, cost). `toUtf8` converts the spell names from the program's 8-bit text.
std::string StatisticsCsv(const Statistics& figures, const SpellTable& spells,
                          const std::function<std::string(const std::string&)>& toUtf8);

// a + b, held at the 64-bit range's ends instead of overflowing.
int64_t SaturatingAdd(int64_t a, int64_t b);

// One CSV text field: an apostrophe before a text that begins with =, +, -, @, tab or CR (which a
// spreadsheet would run as a formula), and before each of these after a semicolon or a tab (where
// a spreadsheet that splits cells there would begin one); then quoted (with inner quotes doubled)
// when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);

}  // namespace quillorb
