// Path text as Windows reads it, so that two spellings of one file compare equal
// and a path cannot climb out of a folder with "..".
#pragma once
#include <string>

namespace kelp {

// Absolute path in canonical form: drive ("C:") or UNC share root, backslashes,
// "." and ".." resolved (".." at the root stays there, as Windows does), no empty
// parts, no trailing backslash (a drive root is "C:\"); the case is kept.
// Raises EBadPath for relative, drive-relative and device paths, wildcards, stream
// names, and parts Windows would silently trim (trailing dots or blanks).
std::string NormalisePath(const std::string& path);

// Upper-case form of a normalised path, for case-insensitive comparison.
std::string PathKey(const std::string& normalisedPath);

// True when path lies strictly inside dir (both normalised).
bool IsInside(const std::string& path, const std::string& dir);
bool SamePath(const std::string& a, const std::string& b);

// The part after the last backslash (or colon).
std::string FileNamePart(const std::string& path);
// The normalised path without its last part; the root stays the root.
std::string ParentPath(const std::string& normalisedPath);
// Length of the root ("C:\" or "\\server\share") of a normalised path.
size_t RootLength(const std::string& normalisedPath);

}  // namespace kelp
