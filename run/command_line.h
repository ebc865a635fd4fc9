// The unpacker's command line: "<unpacker>" -o -q "<archive>" -d "<folder>"
// (extract every member into the folder, overwrite without asking, print
// little), composed in a buffer of 260 bytes.
#pragma once

#include "framework/cstring.h"

constexpr int kCommandLineSize = 260;

// The characters the three paths may take together: the buffer's 259 less
// the format's own 17.
int RoomForPaths();

// Composes the line into `buffer`. False, with the buffer left empty, when
// the three paths need more than the 242 characters the line leaves them;
// a cut line is never produced.
bool ComposeUnpackerCommand(const CString& unzipPath, const CString& archivePath, const CString& folder,
                            char (&buffer)[kCommandLineSize]);
