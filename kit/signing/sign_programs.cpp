#include "kit/signing/sign_programs.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "kit/package_files.h"
#include "kit/path_within.h"
#include "kit/signing/osslsigncode.h"
#include "kit/whole_file.h"

namespace kit {

namespace {

namespace fs = std::filesystem;

constexpr const char kKeyOptions[] = "--sign-pkcs12 FILE, or --sign-cert FILE with --sign-key FILE";
const char* const kWebSchemes[] = {"http://", "https://"};
constexpr const char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";
// What osslsigncode says when a password does not open the key.
constexpr const char kWrongPasswordWords[] = "Wrong password?";
constexpr const char kNoTimestampWords[] = "timestamping failed";
constexpr const char kPasswordShownAs[] = "(the password)";

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The password as osslsigncode reads it from the file: without a UTF-8 byte
// order mark and without the line ends at the end. False, with `error` set,
// when the file cannot be read.
bool ReadPassword(const std::string& file, std::string& password, std::string& error) {
  std::ifstream in(file, std::ios::binary);
  password.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    error = "cannot read the password file " + file + ": " + std::strerror(errno);
    return false;
  }
  while (!password.empty() && (password.back() == '\n' || password.back() == '\r')) password.pop_back();
  if (StartsWith(password, kUtf8ByteOrderMark)) password.erase(0, sizeof kUtf8ByteOrderMark - 1);
  return true;
}

// Overwrites the password in memory before it is freed.
void Forget(std::string& password) {
  ::explicit_bzero(password.data(), password.size());
  password.clear();
}

std::string WithoutPassword(std::string text, const std::string& password) {
  if (password.empty()) return text;
  for (size_t at = text.find(password); at != std::string::npos; at = text.find(password, at)) {
    text.replace(at, password.size(), kPasswordShownAs);
    at += sizeof kPasswordShownAs - 1;
  }
  return text;
}

using Secret = std::pair<const char*, const std::string*>;

// The files that must not ship, with what each is.
std::vector<Secret> SecretsOf(const SigningOptions& options) {
  return {{"the key file", &options.pkcs12File},
          {"the key file", &options.keyFile},
          {"the password file", &options.passwordFile}};
}

const std::string& KeyFileOf(const SigningOptions& options) {
  return options.pkcs12File.empty() ? options.keyFile : options.pkcs12File;
}

std::string SigningFailure(const std::string& fileName, const SigningOptions& options, const std::string& password,
                           const ProgramRun& run) {
  const std::string failed = "cannot sign " + fileName + ": ";
  const std::string leftAsItWas = "; " + fileName + " in the package is left as it was before the signing";
  if (run.outcome != ProgramOutcome::kExited) {
    const bool mayWaitOnNetwork = run.outcome == ProgramOutcome::kTimedOut && !options.timestampUrl.empty();
    const std::string network =
        mayWaitOnNetwork ? " (the time-stamping authority " + options.timestampUrl + " may not answer)" : "";
    return failed + NotRunText(run) + network + leftAsItWas;
  }
  std::string said = WithoutPassword(ToolMessage(run.output), password);
  if (said.empty()) said = "it ended with exit code " + std::to_string(run.exitCode) + " and said nothing more";
  std::string why = std::string(kSigningTool) + " could not sign it";
  if (Contains(said, kWrongPasswordWords)) {
    why = password.empty() ? KeyFileOf(options) + " is locked by a password: give it with --sign-password-file FILE"
                           : "the password in " + options.passwordFile + " does not open " + KeyFileOf(options);
  } else if (Contains(said, kNoTimestampWords)) {
    why = "no timestamp came from the time-stamping authority " + options.timestampUrl;
  }
  return failed + why + " (" + kSigningTool + ": " + said + ")" + leftAsItWas;
}

// Signs `program` in place, written whole.
bool SignProgram(const fs::path& program, const SigningOptions& options, const std::string& password,
                 std::string& error) {
  const std::string fileName = program.filename().string();
  const auto sign = [&](const fs::path& partial, std::string& signError) {
    std::error_code ignored;
    fs::remove(partial, ignored);  // osslsigncode writes over no file
    const ProgramRun run =
        RunProgram(SignCommand(options, !password.empty(), program.string(), partial.string()), kSigningTimeout);
    if (!run.Succeeded() || !fs::is_regular_file(partial, ignored)) {
      signError = SigningFailure(fileName, options, password, run);
      return false;
    }
    // The signed program keeps the permissions of the unsigned one.
    fs::permissions(partial, fs::status(program, ignored).permissions(), ignored);
    return true;
  };
  return WriteWhole(program, sign, error);
}

}  // namespace

std::string SigningArgumentProblem(const SigningOptions& options, const fs::path& dataDir, const fs::path& outDir) {
  if (!options.Requested()) {
    const std::pair<const char*, const std::string*> needKey[] = {{"--sign-password-file", &options.passwordFile},
                                                                  {"--timestamp", &options.timestampUrl},
                                                                  {"--sign-description", &options.description},
                                                                  {"--sign-url", &options.url}};
    for (const auto& [option, value] : needKey) {
      if (!value->empty()) return std::string(option) + " needs a key to sign with: " + kKeyOptions;
    }
    return std::string();
  }
  if (!options.pkcs12File.empty() && (!options.certificateFile.empty() || !options.keyFile.empty())) {
    return "give the key in one PKCS#12 file (--sign-pkcs12) or in two PEM files (--sign-cert and --sign-key), not "
           "both";
  }
  if (options.pkcs12File.empty() && (options.certificateFile.empty() || options.keyFile.empty())) {
    return "--sign-cert and --sign-key go together: the certificate and its private key";
  }
  if (!options.timestampUrl.empty() && !StartsWith(options.timestampUrl, kWebSchemes[0]) &&
      !StartsWith(options.timestampUrl, kWebSchemes[1])) {
    return "the time-stamping authority's address " + options.timestampUrl + " is no http:// or https:// address";
  }
  std::error_code ignored;
  for (const std::string* file :
       {&options.pkcs12File, &options.certificateFile, &options.keyFile, &options.passwordFile}) {
    if (!file->empty() && !fs::is_regular_file(*file, ignored)) return "the file " + *file + " is not there";
  }
  for (const auto& [what, file] : SecretsOf(options)) {
    if (file->empty()) continue;
    if (IsSameOrInside(*file, dataDir)) {
      return std::string(what) + " " + *file + " lies in the data folder " + dataDir.string() +
             ": it would be packed into the archive and reach every end user; keep it outside";
    }
    if (IsSameOrInside(*file, outDir)) {
      return std::string(what) + " " + *file + " lies in the package folder " + outDir.string() +
             ": it would ship with the package; keep it outside";
    }
  }
  return std::string();
}

std::string PackedSecretProblem(const SigningOptions& options, const std::vector<ArchiveInput>& entries) {
  for (const auto& [what, file] : SecretsOf(options)) {
    if (file->empty()) continue;
    for (const ArchiveInput& entry : entries) {
      std::error_code ignored;
      if (!entry.sourcePath.empty() && fs::equivalent(entry.sourcePath, *file, ignored)) {
        return std::string(what) + " " + *file + " is in the data folder as " + entry.name +
               ": it would be packed into the archive and reach every end user; keep it outside";
      }
    }
  }
  return std::string();
}

bool SignPackagePrograms(const fs::path& outDir, const std::string& name, const SigningOptions& options,
                         std::vector<std::string>& notes, std::string& error) {
  std::string password;
  if (!options.passwordFile.empty() && !ReadPassword(options.passwordFile, password, error)) return false;
  const std::string how = options.timestampUrl.empty() ? " (SHA-256, no timestamp)"
                                                       : " (SHA-256, timestamped by " + options.timestampUrl + ")";
  bool signedAll = true;
  for (const std::string& fileName : {name + kProgramExtension, kUnpackerFileName}) {
    const fs::path program = outDir / fileName;
    std::error_code ignored;
    if (!fs::is_regular_file(program, ignored)) {
      notes.push_back("no " + fileName + " to sign");
      continue;
    }
    if (!SignProgram(program, options, password, error)) {
      signedAll = false;
      break;
    }
    notes.push_back("signed " + program.string() + how);
  }
  Forget(password);
  return signedAll;
}

}  // namespace kit
