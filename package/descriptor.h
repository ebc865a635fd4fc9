// The package descriptor: a text file beside the program, named like it with
// the extension ".ini", that names the archive ("ZIPFILE:") and the space the
// installed package needs in kilobytes ("FILESIZE:").
//
// Every line is searched for both keys; a key counts anywhere in a line and
// its value is the line's text from the key's length on, counted from the
// line's start, untrimmed; the last occurrence wins. Lines are read in
// pieces of at most 259 characters, each searched as a line of its own.
#pragma once

#include "framework/cstring.h"

constexpr int kDescriptorReadSize = 260;
constexpr const char kArchiveKey[] = "ZIPFILE:";
constexpr const char kSizeKey[] = "FILESIZE:";
constexpr const char kUnpackerName[] = "unzip";

struct PackageDescriptor {
  CString zipPath;    // program folder + the "ZIPFILE:" value; empty without one
  CString unzipPath;  // program folder + "unzip", always set
  long requiredKB = 0;  // the "FILESIZE:" number; 0 without one
  bool hasSize = false;  // whether a "FILESIZE:" line was read
};

// Reads the descriptor at `descriptorPath`; the program folder is taken
// from that path. False when the file cannot be opened.
bool ReadPackageDescriptor(const CString& descriptorPath, PackageDescriptor& descriptor);

// The number rule of "FILESIZE:": leading white space skipped, an optional
// sign, then decimal digits up to the first other character; no digits give
// 0. A number outside the signed 32-bit range is held at the range's end.
long ParseSizeNumber(const char* text);
