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

std::optional<Path> CharacterFromFileName(const Path& fileName) {
  const std::string_view name = fileName.Utf8();
  if (name.size() <= kPrefix.size() + kExtension.size()) return std::nullopt;
  if (!SameIgnoringCase(name.substr(0, kPrefix.size()), kPrefix)) return std::nullopt;
  if (!SameIgnoringCase(name.substr(name.size() - kExtension.size()), kExtension)) {
    return std::nullopt;
  }
  return Path::FromUtf8(
      std::string(name.substr(kPrefix.size(), name.size() - kPrefix.size() - kExtension.size())));
}

bool HasForbiddenCharacter(const Path& path) {
  const std::string& name = path.Utf8();
  return name.find_first_of(".\\/:,;*?\"<>|") != std::string::npos;
}

bool HasOuterBlank(const Path& path) {
  const std::string& name = path.Utf8();
  return !name.empty() && (IsBlank(name.front()) || IsBlank(name.back()));
}

bool HasEnclosingQuotes(const Path& path) {
  const std::string& name = path.Utf8();
  return name.size() >= 2 && name.front() == name.back() &&
         (name.front() == '"' || name.front() == '\'');
}

bool IsTooLongForFileName(const Path& name) {
  return name.Utf8().size() > kMaxCharacterNameBytes;
}

}  // namespace quillorb
