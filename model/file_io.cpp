// The parts of the file layer that are the same on every system.
#include "model/file_io.h"

#include "model/profile.h"

namespace quillorb {

bool StartsWithUtf16Mark(std::string_view bytes) {
  return bytes.size() >= 2 &&
         ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
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
