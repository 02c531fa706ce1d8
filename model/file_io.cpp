// The parts of the file layer that are the same on every system: what counts as readable text,
// and the order of a save's steps with the cleaning up after each of them.
#include "model/file_io.h"

#include "model/profile.h"

namespace quillorb {
namespace {

// Why bytes that were read are no 8-bit text; nullptr when they are.
const char* NotAnsiText(std::string_view bytes) {
  if (bytes.size() >= 2 &&
      ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
    return "the file is UTF-16 text, not ANSI text";
  }
  if (bytes.find('\0') != std::string_view::npos) {
    return "the file holds NUL bytes, which ANSI text never does (UTF-16 text without a "
           "byte-order mark does)";
  }
  return nullptr;
}

bool Fail(Utf8* error, const char* what, const Path& path, const Utf8& reason) {
  if (error) *error = Utf8(what) + " \"" + path.Text() + "\": " + reason;
  return false;
}

}  // namespace

ReadStatus ReadWholeFile(const Path& path, std::string& bytes, Utf8* error) {
  const ReadStatus status = ReadWholeFileRaw(path, bytes, error);
  if (status != ReadStatus::Ok) return status;
  if (const char* why = NotAnsiText(bytes)) {
    bytes.clear();
    Fail(error, "Cannot read", path, Utf8(why));
    return ReadStatus::Failed;
  }
  return status;
}

bool ReplaceFileContents(SaveSteps& steps, const Path& path, std::string_view bytes, Utf8* error) {
  // A rename would go through on some systems: such a file is the player's to keep.
  if (steps.IsReadOnly(path)) return Fail(error, "Cannot replace", path, "the file is read-only");
  Path temp;
  if (!steps.Create(path, temp)) return Fail(error, "Cannot create", path, steps.Reason());
  const char* failed = nullptr;
  Utf8 reason;
  auto note = [&](const char* what) {
    failed = what;
    reason = steps.Reason();
  };
  if (!steps.Write(bytes) || !steps.Flush()) note("Cannot write");
  if (!steps.Close() && !failed) note("Cannot write");
  if (!failed && !steps.Replace(temp, path)) note("Cannot replace");
  if (!failed) return true;
  steps.Delete(temp);
  return Fail(error, failed, path, reason);
}

bool ReplaceFileContents(const Path& path, std::string_view bytes, Utf8* error) {
  return ReplaceFileContents(*SystemSaveSteps(), path, bytes, error);
}

int RemoveStaleTemporaryFiles(const Path& folder) {
  // Only names of the pattern SaveSteps::Create makes for our own files: nothing else is touched.
  int removed = 0;
  for (const Path& name : FileNamesIn(folder)) {
    if (IsOwnTemporaryFileName(name.Utf8()) && RemoveFile(folder + name)) ++removed;
  }
  return removed;
}

}  // namespace quillorb
