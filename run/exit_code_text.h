// An unpacker's exit code as the program's messages write it: a code below
// 0x80000000 in decimal ("9"), a status code from there on in hexadecimal
// as Windows writes it ("0xC0000005" for a crash).
#pragma once

// Enough for "0x" and eight hexadecimal digits, or ten decimal ones.
constexpr int kExitCodeTextSize = 12;

void ExitCodeText(unsigned long code, char (&text)[kExitCodeTextSize]);
