#include "kit/signing/osslsigncode.h"

#include <cctype>
#include <sstream>

namespace kit {

namespace {

constexpr const char kSha256[] = "sha256";
constexpr const char kSkipDistributionPoints[] = "-ignore-cdp";
constexpr std::chrono::seconds kHelpTimeout(10);
constexpr const char kMessageSeparator[] = "; ";

// Lines of its output that say nothing about what went wrong.
const char* const kNoiseLines[] = {"Failed", "Succeeded"};
// OpenSSL's prompt, written where no terminal answers it; a message may
// follow it on the same line.
constexpr const char kPasswordPrompt[] = "Enter PEM pass phrase:";
const char* const kNoisePrefixes[] = {
    "Connecting to ",
    "Use the \"",  // advice on osslsigncode's own options, which the kit sets
};

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// A line of OpenSSL's error stack: "40704A25E07F0000:error:0688010A:...".
bool IsErrorStackLine(const std::string& line) {
  const size_t colon = line.find(":error:");
  if (colon == std::string::npos || colon == 0) return false;
  for (size_t i = 0; i < colon; ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(line[i]))) return false;
  }
  return true;
}

bool IsNoise(const std::string& line) {
  for (const char* noise : kNoiseLines) {
    if (line == noise) return true;
  }
  for (const char* prefix : kNoisePrefixes) {
    if (StartsWith(line, prefix)) return true;
  }
  return IsErrorStackLine(line);
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::vector<std::string> SignCommand(const SigningOptions& options, bool withPassword, const std::string& in,
                                     const std::string& out) {
  std::vector<std::string> command = {kSigningTool, "sign"};
  if (!options.pkcs12File.empty()) {
    command.insert(command.end(), {"-pkcs12", options.pkcs12File});
  } else {
    command.insert(command.end(), {"-certs", options.certificateFile, "-key", options.keyFile});
  }
  if (withPassword) command.insert(command.end(), {"-readpass", options.passwordFile});
  command.insert(command.end(), {"-h", kSha256});
  if (!options.description.empty()) command.insert(command.end(), {"-n", options.description});
  if (!options.url.empty()) command.insert(command.end(), {"-i", options.url});
  if (!options.timestampUrl.empty()) command.insert(command.end(), {"-ts", options.timestampUrl});
  command.insert(command.end(), {"-in", in, "-out", out});
  return command;
}

std::vector<std::string> VerifyCommand(const std::string& file, bool skipDistributionPoints) {
  std::vector<std::string> command = {kSigningTool, "verify"};
  if (skipDistributionPoints) command.push_back(kSkipDistributionPoints);
  command.insert(command.end(), {"-in", file});
  return command;
}

bool VerifyKnowsSkipDistributionPoints() {
  const ProgramRun help = RunProgram({kSigningTool, "verify", "--help"}, kHelpTimeout);
  return help.output.find(kSkipDistributionPoints) != std::string::npos;
}

std::string ToolMessage(const std::string& output) {
  std::istringstream lines(output);
  std::string line;
  std::vector<std::string> messages;
  while (std::getline(lines, line)) {
    std::string text = Trimmed(line);
    while (StartsWith(text, kPasswordPrompt)) text = Trimmed(text.substr(sizeof kPasswordPrompt - 1));
    if (text.empty() || IsNoise(text)) continue;
    // An indented line goes on with the message above it.
    const bool continues = !messages.empty() && (line[0] == ' ' || line[0] == '\t');
    if (continues) {
      messages.back() += " " + text;
    } else {
      messages.push_back(text);
    }
  }
  std::string joined;
  for (const std::string& message : messages) joined += (joined.empty() ? "" : kMessageSeparator) + message;
  return joined;
}

std::string NotRunText(const ProgramRun& run) {
  if (run.outcome == ProgramOutcome::kNotFound) {
    return std::string(kSigningTool) + " is not installed (Debian package " + kSigningToolPackage + ")";
  }
  return run.why;
}

}  // namespace kit
