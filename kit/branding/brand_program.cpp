#include "kit/branding/brand_program.h"

#include <unistd.h>

#include <atomic>
#include <system_error>

#include "kit/branding/branded_copy.h"
#include "kit/branding/pe_image.h"
#include "kit/branding/picture_preparation.h"
#include "kit/run_program.h"
#include "kit/whole_file.h"
#include "res/resource.h"

namespace kit::branding {

namespace {

namespace fs = std::filesystem;

constexpr char kDefaultNode[] = "node";

// A folder of this build's own for the pictures it makes; gone with it.
class WorkFolder {
 public:
  WorkFolder() {
    static std::atomic<int> counter{0};
    std::error_code ignored;
    m_path = fs::temp_directory_path(ignored) /
             ("setup-pack-branding-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(m_path, ignored);
    fs::create_directories(m_path, ignored);
  }
  ~WorkFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const fs::path& Path() const { return m_path; }

 private:
  fs::path m_path;
};

BrandTools WithDefaults(BrandTools tools) {
  if (tools.node.empty()) tools.node = kDefaultNode;
  if (tools.script.empty()) tools.script = KIT_RESOURCE_WRITER_SCRIPT;
  if (tools.modules.empty()) tools.modules = KIT_RESOURCE_WRITER_MODULES;
  return tools;
}

// The resource writer's command line for the parts asked.
std::vector<std::string> WriterCommand(const BrandTools& tools, const fs::path& in, const fs::path& out,
                                       const fs::path& dibFile, const std::string& icoFile, const BrandedFace& face) {
  std::vector<std::string> command = {tools.node, tools.script, "--modules", tools.modules,
                                      "--in",     in.string(),  "--out",     out.string()};
  if (face.logoDib) command.insert(command.end(), {"--bitmap", std::to_string(IDB_LOGO), dibFile.string()});
  if (face.icons) command.insert(command.end(), {"--icon-group", std::to_string(IDR_MAINFRAME), icoFile});
  if (face.version) command.insert(command.end(), {"--version", VersionText(*face.version)});
  for (const auto& string : face.strings) command.insert(command.end(), {"--string", string.first, string.second});
  return command;
}

bool WriterRan(const ProgramRun& run, const BrandTools& tools, std::string& error) {
  if (run.Succeeded()) return true;
  std::error_code ignored;
  if (run.outcome == ProgramOutcome::kTimedOut) {
    error = "the resource writer was stopped: " + run.why;
  } else if (!run.Started() || !fs::is_directory(fs::path(tools.modules) / "resedit", ignored)) {
    const std::string& said = run.Started() ? run.output : run.why;
    error = "the resource writer cannot run (node with " + tools.modules +
            "/resedit): install them with "
            "scripts/setup-deps" +
            (said.empty() ? "" : " (" + said + ")");
  } else {
    error = "the resource writer failed (exit status " + std::to_string(run.ShellStatus()) + "): " + run.output;
  }
  while (!error.empty() && (error.back() == '\n' || error.back() == ' ')) error.pop_back();
  return false;
}

}  // namespace

bool BrandProgram(const fs::path& program, const BrandOptions& options, std::vector<std::string>& notes,
                  std::string& error) {
  const BrandTools tools = WithDefaults(options.tools);
  const std::string name = program.filename().string();
  PeImage before;
  std::string why;
  if (!ReadPeImage(program.string(), before, why)) {
    error = "cannot brand " + program.string() + ": " + why;
    return false;
  }
  WorkFolder work;
  BrandedFace face;
  std::vector<std::string> made;
  PreparedLogo logo;
  if (!options.logoFile.empty()) {
    if (!PrepareLogo(options.logoFile, tools, work.Path(), logo, error)) return false;
    face.logoDib = logo.dib;
    made.push_back(logo.note);
  }
  PreparedIcon icon;
  if (!options.iconFile.empty()) {
    if (!PrepareIcon(options.iconFile, tools, work.Path(), icon, error)) return false;
    face.icons = icon.images;
    made.push_back(icon.note);
  }
  VersionNumber version{};
  if (!options.version.empty() && ParseVersionNumber(options.version, version)) {
    face.version = version;
    made.push_back("version: file and product version " + VersionText(version));
  }
  for (const VersionStringOption& string : VersionStringOptions()) {
    const std::string& text = options.*string.text;
    if (text.empty()) continue;
    face.strings.emplace_back(string.name, text);
    made.push_back(std::string("version: ") + string.name + " \"" + text + "\"");
  }

  const fs::path dibFile = work.Path() / "logo.dib";
  if (face.logoDib && !WriteWholeFile(dibFile, *face.logoDib, error)) return false;
  const auto brand = [&](const fs::path& partial, std::string& writeError) {
    if (!WriterRan(RunProgram(WriterCommand(tools, program, partial, dibFile, icon.icoFile, face), tools.timeout),
                   tools, writeError)) {
      return false;
    }
    std::error_code ignored;
    fs::permissions(partial, fs::status(program, ignored).permissions(), ignored);
    PeImage after;
    std::string unreadable;
    if (!ReadPeImage(partial.string(), after, unreadable)) {
      writeError = "the resource writer left no program: " + unreadable;
      return false;
    }
    const std::vector<std::string> problems = BrandedCopyProblems(before, after, face);
    if (problems.empty()) return true;
    writeError = "the branded copy of " + name + " is not sound, so it is not kept:";
    for (const std::string& problem : problems) writeError += " " + problem + ";";
    writeError.pop_back();
    return false;
  };
  if (!WriteWhole(program, brand, error)) return false;
  if (before.Directory(kCertificateDirectoryIndex).size != 0) {
    made.push_back(
        "its signature is removed, as it covered the bytes branding changed: sign the package after branding");
  }
  for (const std::string& note : made) notes.push_back("branded " + program.string() + ": " + note);
  return true;
}

}  // namespace kit::branding
