// An INI document held in memory, read and edited by the rules of the Windows private-profile
// functions (GetPrivateProfileStringA / WritePrivateProfileStringA), so that a profile is loaded
// and saved in one pass instead of one file access per key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillorb {

class IniDocument {
 public:
  // Values come back through a 1024-byte buffer: at most this many characters.
  static constexpr size_t kMaxValueLength = 1023;

  IniDocument() = default;
  explicit IniDocument(std::string_view bytes);

  // GetPrivateProfileStringA: names match without regard to case (blanks around ignored), the
  // first of duplicate sections and keys wins, the value is trimmed, one pair of matching quotes
  // around it is removed, at most kMaxValueLength characters. Missing section or key -> `def`.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  bool Has(std::string_view section, std::string_view key) const;
  // ReadString parsed by ParseInt; missing, empty or invalid -> `def`.
  int32_t ReadInt(std::string_view section, std::string_view key, int32_t def) const;
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  // WritePrivateProfileStringA: an existing key's line is replaced where it stands, a new key goes
  // after the last line of its section, a new section at the end. Other lines keep their bytes.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  // The file as Windows would have left it after the writes.
  std::string Serialize() const;

 private:
  struct Line;
  // ... implementation detail, chosen by the implementer
};

}  // namespace quillorb
