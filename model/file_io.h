// Whole-file reads and all-or-nothing replacement of files. Implemented once for the host
// (file_io_std.cpp) and once for Windows (win/file_io_win.cpp).
#pragma once

#include <string>
#include <string_view>

namespace quillorb {

enum class ReadStatus { Ok, Missing, Failed };

// `error` (if given) says what failed when the result is not Ok: the file's name and the system's
// reason.
ReadStatus ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);
bool FileExists(const std::string& path);

// Writes `bytes` to a temporary file in the same folder, flushes it to disk, then moves it over
// `path`. On any failure the old file is left as it was, the temporary file is removed, and
// `error` (if given) says what failed.
// Removes the temporary files in `folder` (which ends with its separator) that a save of ours
// left when it was killed mid-write (IsOwnTemporaryFileName). Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::string& folder);

bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         std::string* error = nullptr);

// Copies `from` to the new file `to`; an existing `to` is left alone and the copy fails. On failure
// `error` (if given) names the files and gives the system's reason.
bool CopyToNewFile(const std::string& from, const std::string& to, std::string* error = nullptr);

}  // namespace quillorb
