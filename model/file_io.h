// Whole-file reads and all-or-nothing replacement of files. The steps of a save are implemented
// once for the host (file_io_std.cpp) and once for Windows (win/file_io_win.cpp); the order in
// which they run, and the cleaning up after any of them fails, is written once (file_io.cpp).
//
// Paths are Path (model/path.h); only the paths are Unicode, the files' contents are bytes. What
// went wrong comes back as Utf8 text: it names the file.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/path.h"

namespace quillorb {

enum class ReadStatus { Ok, Missing, Failed };

// Reads the whole file as the 8-bit text the program's files hold. A file with a NUL byte anywhere
// is Failed: ANSI text never holds one, and UTF-16 text (with or without a byte-order mark) holds
// them all over; 8-bit text saved over such a file would destroy it. A file that begins with a
// UTF-16 byte-order mark is Failed as well. `error` (if given) says what failed when the result is
// not Ok: the file's name and the system's reason (or what the file holds instead of ANSI text).
ReadStatus ReadWholeFile(const Path& path, std::string& bytes, Utf8* error = nullptr);
// The file's bytes as they are, whatever text they hold (one implementation per system).
ReadStatus ReadWholeFileRaw(const Path& path, std::string& bytes, Utf8* error = nullptr);
bool FileExists(const Path& path);

// The steps of an all-or-nothing save, as one system offers them. Each step says whether it went
// through; Reason gives the system's words for the last one that did not.
class SaveSteps {
 public:
  virtual ~SaveSteps() = default;
  // Whether `target` is a file the player made read-only.
  virtual bool IsReadOnly(const Path& target) = 0;
  // Creates a new, empty file beside `target`, under a name nobody else uses and that
  // IsOwnTemporaryFileName knows, and keeps it open for the next steps; `temp` is its path.
  virtual bool Create(const Path& target, Path& temp) = 0;
  // Appends all of `bytes` to the open file.
  virtual bool Write(std::string_view bytes) = 0;
  // Makes what was written reach the disk.
  virtual bool Flush() = 0;
  // Closes the open file (it is closed whatever the result: a close can fail to write what the
  // system still held).
  virtual bool Close() = 0;
  // Moves `temp` over `target` in one step: afterwards `target` is the new file, whole.
  virtual bool Replace(const Path& temp, const Path& target) = 0;
  virtual bool Delete(const Path& temp) = 0;
  virtual Utf8 Reason() const = 0;
};

// The steps of this system.
std::unique_ptr<SaveSteps> SystemSaveSteps();

// Writes `bytes` to a temporary file in the same folder, flushes it to disk, closes it, then moves
// it over `path`. On any failure the old file is left as it was, the temporary file is deleted
// (one that cannot be is removed at the next start, RemoveStaleTemporaryFiles), and `error` (if
// given) names the file and the system's reason. A file the player made read-only is
// not replaced (Windows refuses that move, other systems would not): the error says so.
bool ReplaceFileContents(SaveSteps& steps, const Path& path, std::string_view bytes,
                         Utf8* error = nullptr);
// The same with the steps of this system.
bool ReplaceFileContents(const Path& path, std::string_view bytes, Utf8* error = nullptr);

// Copies `from` to the new file `to`; an existing `to` is left alone and the copy fails. On failure
// `error` (if given) names the files and gives the system's reason.
bool CopyToNewFile(const Path& from, const Path& to, Utf8* error = nullptr);
// Deletes a file; true when it is gone (also when it was never there).
bool RemoveFile(const Path& path);
// The names of the plain files in `folder` (which ends with its separator), in no set order.
// Names that cannot be told in UTF-8 exactly are left out: no path made from them would reach them.
std::vector<Path> FileNamesIn(const Path& folder);

// Removes the temporary files in `folder` (which ends with its separator) that a save of ours
// left when it was killed mid-write (IsOwnTemporaryFileName). Returns how many were removed.
int RemoveStaleTemporaryFiles(const Path& folder);

}  // namespace quillorb
