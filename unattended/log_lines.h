// The texts of the log's lines for the steps a silent run and the screens
// share, so that both write the same line for the same step.
#pragma once

#include <cstdint>

#include "framework/cstring.h"
#include "package/descriptor.h"
#include "setup/install_request.h"

// A number in decimal digits (the system's C runtime may lack a 64-bit
// conversion of its own).
CString DecimalText(std::uint64_t value);

CString LogStarted(const CString& programPath, const CString& argumentsText);
CString LogDescriptorRead(const CString& descriptorPath, const PackageDescriptor& descriptor);
CString LogDescriptorMissing(const CString& descriptorPath);
CString LogFreeSpace(const CString& driveRoot, SpaceVerdict verdict, std::uint64_t freeKB, long requiredKB);
CString LogFolder(const CString& folder, FolderVerdict verdict);
CString LogCommandLine(const char* commandLine);
// The three paths of the command line that did not fit: the line gives
// their characters together.
CString LogCommandLineTooLong(const CString& unzipPath, const CString& zipPath, const CString& folder);
CString LogUnpackerStarted();
CString LogUnpackerNotStarted(unsigned long systemError);
CString LogUnpackerNotWatched(unsigned long systemError);
// The last line of a silent run: what its exit code means.
CString LogResult(int exitCode);
