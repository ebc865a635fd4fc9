// The check's lines on the programs' signatures, in its summary.
#pragma once

#include <iosfwd>
#include <vector>

#include "kit/pack_check.h"

namespace kit::check {

// One "Signature:" line per program, with the signer's certificate, its
// validity, the timestamp, the signed description and what the chain of
// certificates leads to on lines below it.
void PrintSignatures(const std::vector<SignatureSummary>& signatures, std::ostream& out);

}  // namespace kit::check
