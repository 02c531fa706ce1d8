#include "model/characters.h"

#include <string_view>

namespace quillorb {
namespace {

constexpr std::string_view kPrefix = "quillorb - ";
constexpr std::string_view kExtension = ".ini";

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// The characters the private-profile functions trim off a value.
bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}

}  // namespace

std::optional<std::string> CharacterFromFileName(const std::string& fileName) {
  const std::string_view name = fileName;
  if (name.size() <= kPrefix.size() + kExtension.size()) return std::nullopt;
  if (!SameIgnoringCase(name.substr(0, kPrefix.size()), kPrefix)) return std::nullopt;
  if (!SameIgnoringCase(name.substr(name.size() - kExtension.size()), kExtension)) {
    return std::nullopt;
  }
  return std::string(name.substr(kPrefix.size(), name.size() - kPrefix.size() - kExtension.size()));
}

bool HasForbiddenCharacter(const std::string& name) {
  return name.find_first_of(".\\/:,;*?\"<>|") != std::string::npos;
}

bool HasOuterBlank(const std::string& name) {
  return !name.empty() && (IsBlank(name.front()) || IsBlank(name.back()));
}

bool HasEnclosingQuotes(const std::string& name) {
  return name.size() >= 2 && name.front() == name.back() &&
         (name.front() == '"' || name.front() == '\'');
}

bool IsTooLongForFileName(const std::string& pathName) {
  return pathName.size() > kMaxCharacterNameBytes;
}

}  // namespace quillorb
