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

// The last part of the package folder's absolute path.
std::string PackageFolderName(const std::string& packageDir);

}  // namespace kit::check
