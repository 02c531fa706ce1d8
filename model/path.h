// The three kinds of text the program holds, each its own type, so that one passed for another
// does not compile:
//   std::string  8-bit ANSI text of the system's code page: what the program's files hold (spell
//                names, character names, INI values) and what its windows show. A bare
//                std::string is always this.
//   Utf8         text that may hold any letter and is no path: messages that name files, with the
//                system's reason.
//   Path         a file or folder path, in UTF-8, whatever the code page: a folder or file name
//                with letters outside it is reached as it is.
// One becomes another only on purpose: by explicit construction where the bytes are known to be
// of that kind, Path::Text, or a named conversion (PathFromAnsi, win::AnsiToUtf8, win::Wide).
#pragma once

#include <compare>
#include <cstddef>
#include <ostream>
#include <string>
#include <utility>

namespace quillorb {

class Utf8 {
 public:
  Utf8() = default;
  explicit Utf8(std::string utf8) : text_(std::move(utf8)) {}
  // A literal of the program's source (ASCII, the same in every encoding), implicitly: a message
  // is written as one.
  template <size_t N>
  Utf8(const char (&literal)[N]) : text_(literal) {}
  // A buffer filled at run time is no literal: it holds whatever text the call put there.
  template <size_t N>
  Utf8(char (&buffer)[N]) = delete;

  const std::string& str() const { return text_; }
  bool empty() const { return text_.empty(); }

  Utf8& operator+=(const Utf8& more) {
    text_ += more.text_;
    return *this;
  }
  friend Utf8 operator+(Utf8 text, const Utf8& more) { return text += more; }
  bool operator==(const Utf8&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Utf8& text) { return out << text.text_; }

 private:
  std::string text_;
};

class Path {
 public:
  Path() = default;
  static Path FromUtf8(std::string utf8) {
    Path path;
    path.utf8_ = std::move(utf8);
    return path;
  }

  const std::string& Utf8() const { return utf8_; }
  // The path as text for a message.
  quillorb::Utf8 Text() const { return quillorb::Utf8(utf8_); }
  bool empty() const { return utf8_.empty(); }

  // `name` in this folder (which ends with its separator).
  friend Path operator+(const Path& folder, const Path& name) {
    return FromUtf8(folder.utf8_ + name.utf8_);
  }
  // The same with a file name written in the program's source (ASCII).
  template <size_t N>
  friend Path operator+(const Path& folder, const char (&name)[N]) {
    return FromUtf8(folder.utf8_ + name);
  }
  // The part after the last separator.
  Path FileName() const { return FromUtf8(utf8_.substr(utf8_.find_last_of("\\/") + 1)); }
  // The folder with a trailing separator ('\\' added when it has none); empty stays empty.
  Path WithSeparator() const {
    if (utf8_.empty() || utf8_.back() == '\\' || utf8_.back() == '/') return *this;
    return FromUtf8(utf8_ + '\\');
  }

  auto operator<=>(const Path&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Path& path) { return out << path.utf8_; }

 private:
  std::string utf8_;
};

// ANSI text (a character's name) as a file name: through the code page to UTF-8 on Windows, as it
// is elsewhere. One implementation per system, beside the file layer's.
Path PathFromAnsi(const std::string& ansi);

}  // namespace quillorb
