#pragma once
// File names as the frame compares and records them. Paths keep their case; two
// paths name the same file when their canonical forms are equal (without regard
// to case only where the file system ignores it).

#include <string>

namespace tessaly {

// The kind of file the frame opens, by extension: ".TDY" (any case) is a diary,
// everything else an address book.
enum class TFileKind { Book, Diary };

TFileKind FileKindOf(const std::string& path);
// "ADR" or "TDY", the type stored with the reopen list.
std::string FileTypeText(TFileKind kind);
TFileKind FileKindFromType(const std::string& type);

// The absolute, normalised path: "." and ".." resolved, symbolic links of the
// existing part followed. A relative path is taken from baseDirectory.
std::string CanonicalPath(const std::string& path, const std::string& baseDirectory = "");
bool SamePath(const std::string& a, const std::string& b);
// The file name without its directory.
std::string FileNameOf(const std::string& path);
// The directory part of a path (empty when it has none).
std::string DirectoryOf(const std::string& path);
// Upper-cased copy (ASCII letters), as file names are shown and recorded.
std::string UpperCase(std::string s);
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

} // namespace tessaly
