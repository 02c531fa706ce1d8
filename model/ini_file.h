// An INI document held in memory, read and edited by the rules of the Windows private-profile
// functions (GetPrivateProfileStringA / WritePrivateProfileStringA), so that a profile is loaded
// and saved in one pass instead of one file access per key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <deque>
#include <unordered_map>
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
  enum class LineKind : uint8_t { Blank, Section, Key, Other };

  // One line of the file as it stands: its bytes, its own line end ("\r\n", "\r", "\n", or none
  // for a last line without one) and what the reader made of it.
  struct Line {
    std::string text;
    std::string eol;
    LineKind kind = LineKind::Other;
    std::string name;       // section or key name, blanks around removed, case as in the file
    size_t valueBegin = 0;  // Key: the value's place in `text`, blanks around removed
    size_t valueLength = 0;
  };

  // Names match without regard to ASCII case.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const;
  };
  struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using NameIndex = std::unordered_map<std::string, size_t, NameHash, NameEqual>;

  // A section header and the lines up to the next header. `keys` indexes the first line of each
  // key name; it is filled only for the first section of each name, the one lookups find.
  struct Section {
    size_t header = 0;         // index into lines_
    std::vector<size_t> body;  // indexes into lines_, in file order
    NameIndex keys;
  };

  void Parse(std::string_view bytes);
  static Line MakeLine(std::string_view text, std::string_view eol);
  void AddToIndex(size_t sectionIndex, size_t lineIndex);
  const Line* FindKey(std::string_view section, std::string_view key) const;
  static std::string ValueOf(const Line& line);
  // Gives the line a line end if it is the file's last line and has none.
  void EnsureLineEnd(size_t lineIndex);

  std::string prefix_;  // a UTF-8 byte order mark, kept as it was
  std::deque<Line>
      lines_;  // every line ever parsed or added (never moved); order lives in the lists
  std::vector<size_t> preamble_;   // lines before the first section header
  std::vector<Section> sections_;  // in file order
  NameIndex sectionIndex_;         // name -> first section of that name
};

}  // namespace quillorb
