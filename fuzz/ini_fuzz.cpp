// Parses arbitrary bytes as an INI file, applies a few writes chosen by the input, serialises and
// parses again. Untouched files must come back byte for byte; every written key must read back
// as the reader rules say; keys that were read before and not written must keep their values.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/ini_file.h"

namespace {

using quillorb::IniDocument;

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}

std::string Trim(std::string s) {
  size_t begin = 0;
  while (begin < s.size() && IsBlank(s[begin])) ++begin;
  size_t end = s.size();
  while (end > begin && IsBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

// What a written value reads back as: the writer keeps it on one line and stops at a NUL; the
// reader trims it, removes one pair of quotes and returns at most 1023 characters.
std::string ReadBack(std::string v) {
  v = v.substr(0, v.find('\0'));
  for (char& c : v) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  v = Trim(v);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return v.substr(0, IniDocument::kMaxValueLength);
}

// Names from an alphabet that cannot change a line's kind ('=' or a leading '[' would).
std::string Name(FuzzedDataProvider& in, std::string_view alphabet) {
  static constexpr std::string_view kFixed[] = {"Config", "config", "Macro", "KEY5", "Reagent0"};
  if (in.ConsumeBool()) return std::string(kFixed[in.ConsumeIntegralInRange<size_t>(0, 4)]);
  std::string name;
  const size_t length = in.ConsumeIntegralInRange<size_t>(0, 6);
  for (size_t i = 0; i < length; ++i) {
    name.push_back(alphabet[in.ConsumeIntegralInRange<size_t>(0, alphabet.size() - 1)]);
  }
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  struct Op {
    std::string section, key, value;
    bool write;
  };
  std::vector<Op> ops(in.ConsumeIntegralInRange<size_t>(0, 8));
  for (Op& op : ops) {
    op.write = in.ConsumeBool();
    op.section = Name(in, "abcABC01 _.;]");
    op.key = Name(in, "kKeyY9 _.;");
    op.value = op.write ? in.ConsumeRandomLengthString(1200) : std::string();
  }
  const std::string file = in.ConsumeRemainingBytesAsString();

  IniDocument ini(file);
  if (ini.Serialize() != file) abort();

  using Name2 = std::pair<std::string, std::string>;
  std::map<Name2, std::string> before;   // values read before any write
  std::map<Name2, std::string> written;  // the last value written
  for (const Op& op : ops) {
    const Name2 id{Lower(Trim(op.section)), Lower(Trim(op.key))};
    if (!op.write) {
      std::string value = ini.ReadString(op.section, op.key, "\x01");
      if (value != "\x01" && value.size() > IniDocument::kMaxValueLength) abort();
      if (!ini.Has(op.section, op.key) && value != "\x01") abort();
      if (!written.count(id)) before.emplace(id, std::move(value));
      (void)ini.ReadInt(op.section, op.key, 7);
      continue;
    }
    ini.WriteString(op.section, op.key, op.value);
    written[id] = ReadBack(op.value);
    before.erase(id);
    if (ini.ReadString(op.section, op.key, "\x01") != written[id]) abort();
  }

  const std::string saved = ini.Serialize();
  IniDocument reread(saved);
  if (reread.Serialize() != saved) abort();
  for (const auto& [id, value] : written) {
    if (reread.ReadString(id.first, id.second, "\x01") != value) abort();
  }
  for (const auto& [id, value] : before) {
    if (reread.ReadString(id.first, id.second, "\x01") != value) abort();
  }
  return 0;
}
