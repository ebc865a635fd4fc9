// Exit statuses of setup-pack.
#pragma once

namespace kit {

constexpr int kExitInstallsAsMeant = 0;  // no errors (warnings allowed)
constexpr int kExitHasProblems = 1;      // errors found, or the build failed
constexpr int kExitWrongUsage = 2;       // unknown command or option, missing or bad arguments

}  // namespace kit
