#include "model/ini_file.h"

#include <optional>

#include "model/text.h"

namespace quillorb {
namespace {

// The blanks the private-profile functions trim: tab, LF, VT, FF, CR, Ctrl-Z and space.
bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// What the A functions would see of a caller's text (it ends at the first NUL), with line breaks
// turned into blanks so that one write always stays one line of the file.
std::string OneLine(std::string_view text) {
  std::string out(text.substr(0, text.find('\0')));
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

size_t IniDocument::NameHash::operator()(std::string_view name) const {
  // FNV-1a over the lower-cased bytes.
  uint64_t h = 14695981039346656037ull;
  for (char c : name) {
    h ^= static_cast<unsigned char>(LowerAscii(c));
    h *= 1099511628211ull;
  }
  return static_cast<size_t>(h);
}

bool IniDocument::NameEqual::operator()(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

IniDocument::IniDocument(std::string_view bytes) {
  Parse(bytes);
}

IniDocument::Line IniDocument::MakeLine(std::string_view text, std::string_view eol) {
  Line line;
  line.text = text;
  line.eol = eol;
  std::string_view t = Trim(text);
  if (t.empty()) {
    line.kind = LineKind::Blank;
    return line;
  }
  // "[name]": the name ends at the last ']'. A '[' line without one is an ordinary line.
  if (t.front() == '[') {
    size_t close = t.rfind(']');
    if (close != std::string_view::npos && close > 0) {
      line.kind = LineKind::Section;
      line.name = Trim(t.substr(1, close - 1));
      return line;
    }
  }
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) {
    line.kind = LineKind::Other;
    return line;
  }
  line.kind = LineKind::Key;
  line.name = Trim(t.substr(0, eq));
  std::string_view value = Trim(t.substr(eq + 1));
  line.valueBegin = value.empty() ? 0 : static_cast<size_t>(value.data() - text.data());
  line.valueLength = value.size();
  return line;
}

void IniDocument::Parse(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    prefix_ = kUtf8Bom;
    bytes.remove_prefix(kUtf8Bom.size());
  }
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    size_t eolLength = 0;
    if (end == std::string_view::npos) {
      end = bytes.size();
    } else {
      eolLength = (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
    }
    lines_.push_back(MakeLine(bytes.substr(pos, end - pos), bytes.substr(end, eolLength)));
    const size_t index = lines_.size() - 1;
    if (lines_[index].kind == LineKind::Section) {
      Section section;
      section.header = index;
      sections_.push_back(std::move(section));
      // Only the first section of a name is ever found; later ones are kept as they are.
      sectionIndex_.try_emplace(lines_[index].name, sections_.size() - 1);
    } else if (sections_.empty()) {
      preamble_.push_back(index);
    } else {
      sections_.back().body.push_back(index);
      AddToIndex(sections_.size() - 1, index);
    }
    pos = end + eolLength;
  }
}

void IniDocument::AddToIndex(size_t sectionIndex, size_t lineIndex) {
  const Line& line = lines_[lineIndex];
  if (line.kind != LineKind::Key) return;
  Section& section = sections_[sectionIndex];
  auto first = sectionIndex_.find(lines_[section.header].name);
  if (first == sectionIndex_.end() || first->second != sectionIndex) return;
  section.keys.try_emplace(line.name, lineIndex);  // the first of duplicate keys wins
}

const IniDocument::Line* IniDocument::FindKey(std::string_view section,
                                              std::string_view key) const {
  auto s = sectionIndex_.find(Trim(section));
  if (s == sectionIndex_.end()) return nullptr;
  const NameIndex& keys = sections_[s->second].keys;
  auto k = keys.find(Trim(key));
  if (k == keys.end()) return nullptr;
  return &lines_[k->second];
}

bool IniDocument::Has(std::string_view section, std::string_view key) const {
  return FindKey(section, key) != nullptr;
}

std::string IniDocument::ValueOf(const Line& line) {
  std::string_view value(line.text.data() + line.valueBegin, line.valueLength);
  value = value.substr(0, value.find('\0'));  // the platform hands back a C string
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kMaxValueLength));
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
  const Line* line = FindKey(section, key);
  // The default comes back as given: the platform would strip its trailing blanks, but the
  // caption default "Ultima Online - " must keep its final blank.
  return line ? ValueOf(*line) : std::string(def);
}

int32_t IniDocument::ReadInt(std::string_view section, std::string_view key, int32_t def) const {
  const Line* line = FindKey(section, key);
  if (line == nullptr) return def;
  // Unlike GetPrivateProfileIntA ("12abc" -> 12), a value that is not wholly a number gives the
  // default.
  return ParseInt(ValueOf(*line)).value_or(def);
}

bool IniDocument::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInt(section, key, def ? 1 : 0) != 0;
}

void IniDocument::EnsureLineEnd(size_t lineIndex) {
  if (lines_[lineIndex].eol.empty()) lines_[lineIndex].eol = kCrLf;
}

void IniDocument::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  const std::string sectionName(Trim(OneLine(section)));
  const std::string keyName(Trim(OneLine(key)));
  const std::string newValue = OneLine(value);

  auto s = sectionIndex_.find(sectionName);
  if (s == sectionIndex_.end()) {
    // A new section goes at the end of the file, after a line end of its own.
    std::optional<size_t> last;
    if (!sections_.empty()) {
      const Section& tail = sections_.back();
      last = tail.body.empty() ? tail.header : tail.body.back();
    } else if (!preamble_.empty()) {
      last = preamble_.back();
    }
    if (last) EnsureLineEnd(*last);
    lines_.push_back(MakeLine("[" + sectionName + "]", kCrLf));
    Section added;
    added.header = lines_.size() - 1;
    sections_.push_back(std::move(added));
    s = sectionIndex_.try_emplace(sectionName, sections_.size() - 1).first;
  }

  Section& target = sections_[s->second];
  auto k = target.keys.find(keyName);
  if (k != target.keys.end()) {
    Line& line = lines_[k->second];
    std::string_view old(line.text.data() + line.valueBegin, line.valueLength);
    if (old == newValue) return;  // unchanged: the line keeps its bytes
    // Replaced where it stands, under the key name as the file spells it.
    Line replaced = MakeLine(line.name + "=" + newValue, line.eol);
    line = std::move(replaced);
    return;
  }

  // A new key goes after the last non-blank line of the section.
  size_t at = target.body.size();
  while (at > 0 && lines_[target.body[at - 1]].kind == LineKind::Blank) --at;
  EnsureLineEnd(at > 0 ? target.body[at - 1] : target.header);
  lines_.push_back(MakeLine(keyName + "=" + newValue, kCrLf));
  const size_t index = lines_.size() - 1;
  target.body.insert(target.body.begin() + static_cast<std::ptrdiff_t>(at), index);
  target.keys.try_emplace(keyName, index);
}

std::string IniDocument::Serialize() const {
  size_t total = prefix_.size();
  for (const Line& line : lines_) total += line.text.size() + line.eol.size();
  std::string out;
  out.reserve(total);
  out += prefix_;
  auto append = [&](size_t index) {
    out += lines_[index].text;
    out += lines_[index].eol;
  };
  for (size_t index : preamble_) append(index);
  for (const Section& section : sections_) {
    append(section.header);
    for (size_t index : section.body) append(index);
  }
  return out;
}

}  // namespace quillorb
