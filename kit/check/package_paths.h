// Paths as the program and Windows read them, and as this machine finds the
// package's files.
#pragma once

#include <string>

namespace kit::check {

constexpr char kWindowsSeparator = '\\';
constexpr char kHostSeparator = '/';

// A regular file: a folder of the name would open here but not on Windows.
bool IsFile(const std::string& path);

bool IsSeparator(char ch);

// Starts with a drive letter and colon, or with a slash or backslash.
bool IsAbsolute(const std::string& path);

// The program joins its folder and the "ZIPFILE:" value; on this machine the
// value's backslashes are folder separators.
std::string HostPath(const std::string& packageDir, const std::string& value);

// An archive's entry the unpacker would write outside the installation
// folder: a ".." part (slash or backslash between parts), a path from the
// root, or a drive letter.
bool LandsOutsideFolder(const std::string& entryName);

// The last part of the package folder's absolute path.
std::string PackageFolderName(const std::string& packageDir);

// The installation folder the check assumes on the end user's machine: under
// the programs' folder, named after the package (C:\Program Files\NAME Data).
std::string TypicalInstallFolder(const std::string& name);

}  // namespace kit::check
