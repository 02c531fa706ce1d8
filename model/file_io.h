// Whole-file reads and all-or-nothing replacement of files. Implemented once for the host
// (file_io_std.cpp) and once for Windows (win/file_io_win.cpp).
//
// Paths are UTF-8, whatever the ANSI code page: a folder or file name with letters outside that
// code page is reached as it is. Only the paths are Unicode; the files' contents are bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillorb {

enum class ReadStatus { Ok, Missing, Failed };

// Reads the whole file. A file that begins with a UTF-16 byte-order mark is Failed: its text is
// not the 8-bit text the program's files hold, and 8-bit text saved over it would destroy it.
// `error` (if given) says what failed when the result is not Ok: the file's name and the system's
// reason.
ReadStatus ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);
// The file's bytes as they are, whatever text they hold (one implementation per system).
ReadStatus ReadWholeFileRaw(const std::string& path, std::string& bytes,
                            std::string* error = nullptr);
bool FileExists(const std::string& path);

// Whether `bytes` begin with a UTF-16 byte-order mark (either byte order).
bool StartsWithUtf16Mark(std::string_view bytes);

// Writes `bytes` to a temporary file in the same folder, flushes it to disk, then moves it over
// `path`. On any failure the old file is left as it was, the temporary file is removed, and
// `error` (if given, in UTF-8) says what failed. A file the player made read-only is not replaced
// (Windows refuses that move, other systems would not): the error says so, and on Windows the
// last error is ERROR_FILE_READ_ONLY.
bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         std::string* error = nullptr);

// Copies `from` to the new file `to`; an existing `to` is left alone and the copy fails. On failure
// `error` (if given) names the files and gives the system's reason.
bool CopyToNewFile(const std::string& from, const std::string& to, std::string* error = nullptr);
// Deletes a file; true when it is gone (also when it was never there).
bool RemoveFile(const std::string& path);
// The names of the plain files in `folder` (which ends with its separator), in no set order.
// Names that cannot be told in UTF-8 exactly are left out: no path made from them would reach them.
std::vector<std::string> FileNamesIn(const std::string& folder);

// Removes the temporary files in `folder` (which ends with its separator) that a save of ours
// left when it was killed mid-write (IsOwnTemporaryFileName). Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::string& folder);

}  // namespace quillorb
