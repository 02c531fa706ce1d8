// The parts of the file layer that are the same on every system.
#include "model/file_io.h"

#include "model/profile.h"

namespace quillorb {

bool StartsWithUtf16Mark(std::string_view bytes) {
  return bytes.size() >= 2 &&
         ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

ReadStatus ReadWholeFile(const std::string& path, std::string& bytes, std::string* error) {
  const ReadStatus status = ReadWholeFileRaw(path, bytes, error);
  if (status == ReadStatus::Ok && StartsWithUtf16Mark(bytes)) {
    bytes.clear();
    if (error) *error = "Cannot read \"" + path + "\": the file is UTF-16 text, not ANSI text";
    return ReadStatus::Failed;
  }
  return status;
}

int RemoveStaleTemporaryFiles(const std::string& folder) {
  // Only names of the pattern ReplaceFileContents makes for our own files: nothing else is touched.
  int removed = 0;
  for (const std::string& name : FileNamesIn(folder)) {
    if (IsOwnTemporaryFileName(name) && RemoveFile(folder + name)) ++removed;
  }
  return removed;
}

}  // namespace quillorb
