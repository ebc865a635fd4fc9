// The silent installation's benchmark: Install.exe /S against the bare
// unpacker on the same archive, ratio of medians (goal: at most 1.01).
#pragma once

#include <string>

namespace bench {

// `program`, `unzip`: the setup program and the genuine unzip.exe; `inputs`:
// the folder of bench/make-inputs.py's outputs, with its trailing backslash.
// Throws std::runtime_error when a round cannot be measured.
void SilentInstallBenchmark(const std::string& program, const std::string& unzip, const std::string& inputs,
                            int rounds);

}  // namespace bench
