// setup-pack: the publisher's kit. Parses the command line and hands over to
// the build and the check; see Usage() for the commands.
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "kit/exit_status.h"
#include "kit/pack_build.h"
#include "kit/pack_check.h"
#include "kit/package_files.h"

namespace {

constexpr const char kToolName[] = "setup-pack";
constexpr const char kOptionPrefix[] = "--";
// argv[0] is the tool, argv[1] the command.
constexpr int kCommandIndex = 1;
constexpr int kFirstArgumentIndex = 2;
// The build's options of the publisher's face.
constexpr const char* kBrandOptions[] = {"logo", "icon", "company", "product", "description", "version", "copyright"};

void PrintUsage(std::ostream& out) {
  out << "Usage:\n"
         "  setup-pack build DATA_DIR OUT_DIR [--name NAME] [--welcome FILE] [--licence FILE]\n"
         "                   [--program EXE] [--unzip EXE]\n"
         "                   [--sign-pkcs12 FILE | --sign-cert FILE --sign-key FILE]\n"
         "                   [--sign-password-file FILE] [--timestamp URL]\n"
         "                   [--sign-description TEXT] [--sign-url URL]\n"
         "                   [--logo FILE] [--icon FILE] [--company TEXT] [--product TEXT]\n"
         "                   [--description TEXT] [--version A.B.C.D] [--copyright TEXT]\n"
         "  setup-pack check PACKAGE_DIR [--name NAME]\n"
         "  setup-pack --help\n"
         "\n"
         "build  packs DATA_DIR into OUT_DIR/NAME.zip (names relative to DATA_DIR, sorted, folders\n"
         "       included, files deflated), writes OUT_DIR/NAME.ini with ZIPFILE:NAME.zip and FILESIZE:\n"
         "       (the unpacked size in KB, each file counted in whole 4 KiB clusters, an empty file as 0),\n"
         "       copies --program as NAME.exe and --unzip as unzip.exe, and --welcome as display.txt and\n"
         "       --licence as shrinkli.txt. A file not given is kept when OUT_DIR holds it already;\n"
         "       otherwise display.txt and shrinkli.txt are written from templates (check reports their\n"
         "       placeholder texts until they are replaced) and a missing program or unpacker is\n"
         "       reported by the check. Each file is written under a temporary name and renamed into\n"
         "       place once complete; temporary files left by a build that did not end are removed.\n"
         "       Given a key, it then signs NAME.exe and unzip.exe with osslsigncode (Authenticode,\n"
         "       SHA-256): --sign-pkcs12 a PKCS#12 file (.pfx), or --sign-cert a PEM certificate (its\n"
         "       chain after it) with --sign-key its PEM key; --sign-password-file a file holding the\n"
         "       key's password (none: an empty password); --timestamp an RFC 3161 time-stamping\n"
         "       authority, so that the signature outlasts the certificate; --sign-description and\n"
         "       --sign-url the signed description and web address. A program that cannot be signed\n"
         "       is left as it was, and the build fails. The key and password files must lie outside\n"
         "       DATA_DIR and OUT_DIR.\n"
         "       Branding writes the publisher's face into NAME.exe (never into --program itself):\n"
         "       --logo, a BMP or PNG, the logo both screens show: a 24-bit bitmap of 203 x 137 pixels;\n"
         "       a picture of another size is scaled to fit, proportions kept, and centred on white;\n"
         "       --icon, an ICO taken as it is, or a PNG made into images of 256, 48, 32 and 16 pixels;\n"
         "       --company, --product, --description and --copyright, the version block's CompanyName,\n"
         "       ProductName, FileDescription and LegalCopyright; --version, its file and product\n"
         "       version. Whatever is not given stays as built.\n"
         "       A data folder holding a name Windows does not create as it is written (a device name,\n"
         "       a character it cannot hold, a dot or blank at the end, ;digits at the end, names that\n"
         "       differ only in letter case, bytes that are not UTF-8) is refused, every such name\n"
         "       listed with its code. Then runs check on OUT_DIR and exits with its status.\n"
         "check  reads PACKAGE_DIR as the program NAME.exe will, prints what it will show (the\n"
         "       archive, the size in KB and MB, the welcome lines, the licence's length, the length\n"
         "       of the unpacker's command line with the package in a typical place) and then every\n"
         "       problem, one a line: CODE: what is wrong | end user: what they see | fix: what to do.\n"
         "       It reads the PE headers of NAME.exe and unzip.exe: each must be a complete 32-bit x86\n"
         "       program, NAME.exe a windowed one and unzip.exe a console one. It prints NAME.exe's\n"
         "       logo size, icon sizes and version strings, and warns while they are the built-in ones.\n"
         "       With osslsigncode it reads both programs' signatures: the signer, the certificate's\n"
         "       validity, the timestamp, and whether each still matches its program.\n"
         "       It judges the archive's entries as the unpacker installs them on Windows: their\n"
         "       names, their paths under C:\\Program Files\\NAME Data, their compression methods,\n"
         "       links and attributes.\n"
         "\n"
         "NAME defaults to Install. It must be ASCII (the program finds its descriptor by its own\n"
         "name), a name Windows gives a file, and not unzip. Options take no empty value.\n"
         "\n"
         "Exit status: 0 the package will install as meant (there may be warnings, codes W-...);\n"
         "             1 it has errors (codes E-...: the installation goes wrong or a screen shows\n"
         "               wrong text), or the build failed;\n"
         "             2 wrong usage: an unknown command or option, a missing or extra argument,\n"
         "               a folder or file argument that is not there, or an unusable NAME.\n"
         "\n"
         "Problem codes:\n";
  for (const kit::ProblemInfo& info : kit::AllProblems()) out << "  " << info.code << "\n";
}

int WrongUsage(const std::string& message) {
  std::cerr << kToolName << ": " << message << "\n";
  PrintUsage(std::cerr);
  return kit::kExitWrongUsage;
}

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
};

// Splits the arguments after the command into positional ones and options
// with their values; false, with `error` set, for an option not in `known`,
// one without its value or with an empty one, or one given twice.
bool SplitArguments(int argc, char** argv, const std::vector<std::string>& known, Arguments& args, std::string& error) {
  for (int i = kFirstArgumentIndex; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind(kOptionPrefix, 0) != 0) {
      args.positional.push_back(arg);
      continue;
    }
    const std::string option = arg.substr(std::strlen(kOptionPrefix));
    bool isKnown = false;
    for (const std::string& name : known) isKnown = isKnown || name == option;
    if (!isKnown) {
      error = "unknown option " + arg;
      return false;
    }
    if (i + 1 >= argc) {
      error = "the option " + arg + " needs a value";
      return false;
    }
    // An empty file name would count as none given, and the build would
    // keep or leave out the file without a word.
    if (argv[i + 1][0] == '\0') {
      error = "the option " + arg + " needs a value, not an empty one";
      return false;
    }
    if (!args.options.emplace(option, argv[++i]).second) {
      error = "the option " + arg + " is given twice";
      return false;
    }
  }
  return true;
}

std::string OptionOr(const Arguments& args, const std::string& option, const std::string& fallback) {
  const auto found = args.options.find(option);
  return found != args.options.end() ? found->second : fallback;
}

int Check(const std::string& packageDir, const std::string& name) {
  const kit::CheckReport report = kit::CheckPackage(packageDir, name);
  kit::PrintReport(report, std::cout);
  return report.ExitStatus();
}

int RunBuild(const Arguments& args) {
  constexpr size_t kBuildPositionals = 2;
  if (args.positional.size() != kBuildPositionals) return WrongUsage("build needs DATA_DIR and OUT_DIR");
  kit::BuildOptions options;
  options.dataDir = args.positional[0];
  options.outDir = args.positional[1];
  options.name = OptionOr(args, "name", kit::kDefaultPackageName);
  options.welcomeFile = OptionOr(args, "welcome", "");
  options.licenceFile = OptionOr(args, "licence", "");
  options.programFile = OptionOr(args, "program", "");
  options.unzipFile = OptionOr(args, "unzip", "");
  options.signing.pkcs12File = OptionOr(args, "sign-pkcs12", "");
  options.signing.certificateFile = OptionOr(args, "sign-cert", "");
  options.signing.keyFile = OptionOr(args, "sign-key", "");
  options.signing.passwordFile = OptionOr(args, "sign-password-file", "");
  options.signing.timestampUrl = OptionOr(args, "timestamp", "");
  options.signing.description = OptionOr(args, "sign-description", "");
  options.signing.url = OptionOr(args, "sign-url", "");
  options.brand.logoFile = OptionOr(args, "logo", "");
  options.brand.iconFile = OptionOr(args, "icon", "");
  options.brand.version = OptionOr(args, "version", "");
  for (const kit::branding::VersionStringOption& string : kit::branding::VersionStringOptions()) {
    options.brand.*string.text = OptionOr(args, string.option, "");
  }
  const kit::BuildResult result = kit::BuildPackage(options);
  if (result.status == kit::BuildStatus::kBadArgument) return WrongUsage(result.error);
  if (result.status == kit::BuildStatus::kFailed) {
    std::cerr << kToolName << " build: " << result.error << "\n";
    return kit::kExitHasProblems;
  }
  for (const std::string& note : result.notes) std::cout << kToolName << " build: " << note << "\n";
  std::cout << "\n";
  return Check(options.outDir, options.name);
}

int RunCheck(const Arguments& args) {
  if (args.positional.size() != 1) return WrongUsage("check needs one PACKAGE_DIR");
  const std::string& packageDir = args.positional[0];
  const std::string name = OptionOr(args, "name", kit::kDefaultPackageName);
  const std::string nameProblem = kit::PackageNameProblem(name);
  if (!nameProblem.empty()) return WrongUsage("the package name \"" + name + "\" cannot be used: " + nameProblem);
  std::error_code ignored;
  if (!std::filesystem::is_directory(packageDir, ignored)) {
    return WrongUsage("the package folder " + packageDir + " is not a folder");
  }
  return Check(packageDir, name);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = kCommandIndex; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      PrintUsage(std::cout);
      return kit::kExitInstallsAsMeant;
    }
  }
  if (argc <= kCommandIndex) return WrongUsage("no command given");
  const std::string command = argv[kCommandIndex];
  Arguments args;
  std::string error;
  if (command == "build") {
    std::vector<std::string> known = {"name",      "welcome",  "licence",            "program",
                                      "unzip",     "sign-pkcs12", "sign-cert",       "sign-key",
                                      "sign-password-file", "timestamp", "sign-description", "sign-url"};
    known.insert(known.end(), std::begin(kBrandOptions), std::end(kBrandOptions));
    if (!SplitArguments(argc, argv, known, args, error)) {
      return WrongUsage(error);
    }
    return RunBuild(args);
  }
  if (command == "check") {
    if (!SplitArguments(argc, argv, {"name"}, args, error)) return WrongUsage(error);
    return RunCheck(args);
  }
  return WrongUsage("unknown command " + command);
}
