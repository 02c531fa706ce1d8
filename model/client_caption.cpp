#include "model/client_caption.h"

#include <algorithm>

#include "model/profile.h"

namespace quillorb {
namespace {

constexpr std::string_view kAssistantCaption = "UOAssist";

// A letter or digit of any ANSI code page: ASCII ones, and every byte above ASCII (the letters
// of the Western code page, the bytes of a double-byte character).
bool IsLetterOrDigit(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0x80;
}

}  // namespace

bool IsBlankCaption(std::string_view caption) {
  return caption.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

ClientCaptionUse JudgeClientCaption(std::string_view caption) {
  if (IsBlankCaption(caption) || caption == kDefaultClientCaption) return ClientCaptionUse::None;
  if (caption.starts_with(kAssistantCaption)) return ClientCaptionUse::Assistant;
  if (std::count_if(caption.begin(), caption.end(), IsLetterOrDigit) < kMinClientCaptionLetters) {
    return ClientCaptionUse::TooShort;
  }
  if (kDefaultClientCaption.starts_with(caption)) return ClientCaptionUse::ClassicStart;
  return ClientCaptionUse::Searched;
}

}  // namespace quillorb
