// The checks of an install request, free of window code: the free-space
// decision and the installation folder's normalisation and tests.
#pragma once

#include <cstdint>

#include "framework/cstring.h"
#include "platform/disk_space.h"

enum class SpaceVerdict {
  kEnough,     // the free space holds the package
  kNotEnough,  // ask whether to quit
  kUnknown,    // neither query answered: tell the user and go on
};

// The root of the drive of the stored installation folder: its first three
// characters, or all of it when shorter.
CString DriveRoot(const CString& targetDir);

// Free space of the drive in whole kilobytes, from the total free bytes or,
// when that query does not answer, from the free clusters. False when
// neither answers.
bool FreeKilobytes(DiskQueries& disk, const char* root, std::uint64_t& freeKB);

// Compares the free space with the package size. A negative size passes
// like 0. `freeKB`, when given, receives the free space that was compared.
SpaceVerdict DecideSpace(DiskQueries& disk, const char* root, long requiredKB, std::uint64_t* freeKB = nullptr);

// The package size in whole megabytes, as the messages quote it.
long SizeInMegabytes(long requiredKB);

// Trims white space at both ends and strips trailing backslashes.
CString NormaliseInstallFolder(const CString& typed);

enum class FolderVerdict {
  kAccepted,
  kInvalid,        // empty, or holding a character no Windows path holds
  kParentMissing,  // nothing of the parent's name exists (or no parent)
};

// Tests a normalised installation folder: it must not be empty or hold a
// double quote (which would split the unpacker's command line), and its
// parent, the text before its last backslash, must exist.
FolderVerdict CheckInstallFolder(const CString& folder, DiskQueries& disk);
