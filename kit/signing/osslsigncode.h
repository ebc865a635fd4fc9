// The signing tool the kit runs, Debian's osslsigncode: its command lines
// for signing and verifying a program, and its messages made readable.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "kit/run_program.h"
#include "kit/signing/signing_options.h"

namespace kit {

constexpr const char kSigningTool[] = "osslsigncode";
constexpr const char kSigningToolPackage[] = "osslsigncode";

// Bounds of one run. Signing may ask a time-stamping authority over the
// network, and osslsigncode 2.5 sets no bound of its own on that.
constexpr std::chrono::seconds kSigningTimeout(120);
constexpr std::chrono::seconds kVerifyTimeout(60);

// Signs `in` into `out` (a new file: osslsigncode writes over none) with an
// Authenticode SHA-256 signature. The password is never on the command line:
// with `withPassword` osslsigncode reads it from the options' password file.
std::vector<std::string> SignCommand(const SigningOptions& options, bool withPassword, const std::string& in,
                                     const std::string& out);

// Verifies the signature of `file`. osslsigncode 2.9 fetches revocation
// lists from the addresses a certificate names unless told not to
// (-ignore-cdp, unknown to 2.5): `skipDistributionPoints` tells it, so that
// a check never waits on the network.
std::vector<std::string> VerifyCommand(const std::string& file, bool skipDistributionPoints);

// Whether the installed osslsigncode's verify knows -ignore-cdp.
bool VerifyKnowsSkipDistributionPoints();

// osslsigncode's own words from its output, on one line: its messages,
// without OpenSSL's error stack, its password prompts, its progress and its
// closing "Failed".
std::string ToolMessage(const std::string& output);

// Why osslsigncode did not run to its end: not installed, not started,
// killed at the bound.
std::string NotRunText(const ProgramRun& run);

}  // namespace kit
