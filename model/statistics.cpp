#include "model/statistics.h"

#include <charconv>
#include <cmath>
#include <numeric>
#include <string_view>

#include "model/text.h"

namespace quillorb {

int64_t TruncateToInt64(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLimit = 9223372036854775807.0;  // 2^63, as the nearest double
  if (value >= kLimit) return INT64_MAX;
  if (value <= -kLimit) return INT64_MIN;
  return static_cast<int64_t>(std::trunc(value));
}

int64_t SaturatingAdd(int64_t a, int64_t b) {
  int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? INT64_MAX : INT64_MIN;
}

Statistics ComputeStatistics(const ReagentCounts& used, const ReagentPrices& prices,
                             const SpellTable& spells) {
  Statistics s;
  s.used = used;
  s.prices = prices;
  for (size_t r = 0; r < kReagentCount; ++r) {
    s.cost[r] = TruncateToInt64(static_cast<double>(used[r]) * static_cast<double>(prices[r]));
    s.total = SaturatingAdd(s.total, s.cost[r]);
  }

  std::array<int32_t, kSpellCount> order{};
  std::iota(order.begin(), order.end(), 0);
  auto count = [&](int32_t i) { return spells[static_cast<size_t>(i)].CastCount; };
  for (size_t i = 0; i < order.size(); ++i) {
    for (size_t j = i + 1; j < order.size(); ++j) {
      if (count(order[i]) < count(order[j])) std::swap(order[i], order[j]);
    }
  }
  for (int32_t i : order) {
    const TSpell& spell = spells[static_cast<size_t>(i)];
    if (spell.CastCount == 0) break;
    const double cost =
        static_cast<double>(spell.GetCost(prices)) * static_cast<double>(spell.CastCount);
    s.ranking.push_back(SpellRank{i, spell.CastCount, TruncateToInt64(cost)});
  }
  return s;
}

namespace {

// The shortest text that reads back as the same 32-bit price ("0.1", not 0.100000001490116).
std::string FormatPrice(float price) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, price);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string CsvField(const std::string& text) {
  // A spreadsheet takes a cell that begins with one of these for a formula, and one that splits
  // cells at semicolons or tabs (as many European ones do) sees a cell begin after each of them.
  // Each such beginning gets an apostrophe, which makes the spreadsheet take the rest as text.
  constexpr std::string_view kFormulaStart = "=+-@\t\r";
  std::string cell;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool cellStart = i == 0 || text[i - 1] == ';' || text[i - 1] == '\t';
    if (cellStart && kFormulaStart.find(text[i]) != std::string_view::npos) cell += '\'';
    cell += text[i];
  }
  if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
  std::string quoted = "\"";
  for (char c : cell) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string StatisticsCsv(const Statistics& figures, const SpellTable& spells,
                          const std::function<std::string(const std::string&)>& toUtf8) {
  std::string csv = "\xEF\xBB\xBFReagent,Used,Price,Cost\r\n";
  for (size_t r = 0; r < kReagentCount; ++r) {
    csv += std::string(kReagentCodes[r]) + "," + FormatInt(figures.used[r]) + "," +
           FormatPrice(figures.prices[r]) + "," + FormatInt(figures.cost[r]) + "\r\n";
  }
  csv += "Sum,,," + FormatInt(figures.total) + "\r\n\r\nRank,Spell,Casts,Cost\r\n";
  int rank = 1;
  for (const SpellRank& row : figures.ranking) {
    csv += FormatInt(rank++) + "," + CsvField(toUtf8(spells[static_cast<size_t>(row.spell)].Name)) +
           "," + FormatInt(row.casts) + "," + FormatInt(row.cost) + "\r\n";
  }
  return csv;
}

}  // namespace quillorb
