// The kinds of text (model/path.h) are told apart by the compiler: none becomes another unasked,
// and the file layer takes paths only. Everything here is checked when the file compiles.
#include <string>
#include <type_traits>

#include "model/catalogue.h"
#include "model/file_io.h"
#include "model/path.h"
#include "model/profile.h"

namespace quillorb {
namespace {

template <class From, class To>
constexpr bool kApart = !std::is_convertible_v<From, To> && !std::is_constructible_v<To, From>;

static_assert(kApart<std::string, Path> && kApart<Path, std::string>);
static_assert(kApart<Utf8, std::string> && kApart<Path, Utf8> && kApart<Utf8, Path>);
static_assert(kApart<const char*, Path> && kApart<const char (&)[4], Path>);
// Text becomes Utf8 only when written so (a literal of the source is ASCII, the same in both).
static_assert(!std::is_convertible_v<std::string, Utf8> &&
              !std::is_convertible_v<const char*, Utf8>);
static_assert(std::is_constructible_v<Utf8, std::string> &&
              std::is_convertible_v<const char (&)[4], Utf8> &&
              !std::is_convertible_v<char (&)[4], Utf8>);

// A file name from ANSI text is made by PathFromAnsi; nothing else appends text to a path.
template <class Name>
constexpr bool kAppends = requires(Path folder, Name name) {
  folder + name;
};
static_assert(kAppends<Path> && kAppends<const char (&)[9]>);
static_assert(!kAppends<std::string> && !kAppends<const char*> && !kAppends<Utf8>);

// The file layer and the functions over it take paths, and give their reasons as Utf8: each with
// the right kinds compiles, each with a std::string in place of either does not.
template <class P, class E>
constexpr bool kRead = requires(P p, E e, std::string b) {
  ReadWholeFile(p, b, e);
};
template <class P, class E>
constexpr bool kReadRaw = requires(P p, E e, std::string b) {
  ReadWholeFileRaw(p, b, e);
};
template <class P, class E>
constexpr bool kReplace = requires(P p, E e) {
  ReplaceFileContents(p, "", e);
};
template <class P, class E>
constexpr bool kCopy = requires(P p, E e) {
  CopyToNewFile(p, p, e);
};
template <class P, class E>
constexpr bool kReadCatalogue = requires(P p, E e, SpellTable s) {
  ReadCatalogue(p, s, e);
};
template <class P, class E>
constexpr bool kWriteCatalogue = requires(P p, E e, SpellTable s) {
  WriteCatalogue(p, s, e);
};
static_assert(kRead<Path, Utf8*> && !kRead<std::string, Utf8*> && !kRead<Path, std::string*>);
static_assert(kReadRaw<Path, Utf8*> && !kReadRaw<std::string, Utf8*> &&
              !kReadRaw<Path, std::string*>);
static_assert(kReplace<Path, Utf8*> && !kReplace<std::string, Utf8*> &&
              !kReplace<Path, std::string*>);
static_assert(kCopy<Path, Utf8*> && !kCopy<std::string, Utf8*> && !kCopy<Path, std::string*>);
static_assert(kReadCatalogue<Path, Utf8*> && !kReadCatalogue<std::string, Utf8*> &&
              !kReadCatalogue<Path, std::string*>);
static_assert(kWriteCatalogue<Path, Utf8*> && !kWriteCatalogue<std::string, Utf8*> &&
              !kWriteCatalogue<Path, std::string*>);

template <class P>
constexpr bool kExists = requires(P p) {
  FileExists(p);
};
template <class P>
constexpr bool kRemove = requires(P p) {
  RemoveFile(p);
};
template <class P>
constexpr bool kList = requires(P p) {
  FileNamesIn(p);
};
template <class P>
constexpr bool kRemoveStale = requires(P p) {
  RemoveStaleTemporaryFiles(p);
};
template <class P>
constexpr bool kSpellFile = requires(P p) {
  SpellFileName(p);
};
static_assert(kExists<Path> && !kExists<std::string> && !kExists<Utf8>);
static_assert(kRemove<Path> && !kRemove<std::string> && !kRemove<Utf8>);
static_assert(kList<Path> && !kList<std::string> && !kList<Utf8>);
static_assert(kRemoveStale<Path> && !kRemoveStale<std::string> && !kRemoveStale<Utf8>);
static_assert(kSpellFile<Path> && !kSpellFile<std::string> && !kSpellFile<Utf8>);
// The character's name is ANSI text, which the profile's file name takes through PathFromAnsi.
template <class P, class N>
constexpr bool kProfileFile = requires(P p, N n) {
  ProfileFileName(p, n);
};
static_assert(kProfileFile<Path, std::string> && !kProfileFile<std::string, std::string> &&
              !kProfileFile<Path, Path> && !kProfileFile<Path, Utf8>);

}  // namespace
}  // namespace quillorb
