// The program's switches:  NAME.exe [/S] [/DIR=folder] [/LOG=file] [/?]
//
// A switch starts with '/' or '-'; its name is case-insensitive; a value
// follows the name after '='. /S installs silently, /DIR= names the
// installation folder, /LOG= the log file, /? (also /HELP) asks for the
// usage. Anything else is an error: an unknown switch, a plain word, a
// switch without its value, a value given to a switch that takes none, a
// switch given twice.
#pragma once

#include "framework/cstring.h"
#include "unattended/argument_split.h"

enum class SwitchError {
  kNone,
  kUnknownSwitch,    // /X
  kPlainWord,        // data, or an empty argument
  kMissingValue,     // /DIR or /DIR=
  kUnexpectedValue,  // /S=1
  kGivenTwice,       // /S /s
};

struct Switches {
  // Set by every argument that names /S, a faulty one included, so that a
  // silent command line with a fault never shows a box.
  bool silent = false;
  bool help = false;
  bool hasFolder = false;
  CString folder;
  bool hasLog = false;
  CString logPath;
  // The first argument at fault, as it was given, and what is wrong with it.
  SwitchError error = SwitchError::kNone;
  CString faultyArgument;
};

// Reads every argument left in `arguments`.
Switches ParseSwitches(CommandLineArguments& arguments);

// What is wrong with the faulty argument, naming it: "Unknown switch: /X".
// Empty when there is no error.
CString DescribeSwitchError(const Switches& switches);

// The usage box's text for the program file `programFileName`, such as
// Install.exe; it starts with the fault when there is one.
CString UsageText(const CString& programFileName, const Switches& switches);
