// The files through which the logo probe (logo_probe.cpp, inside the
// program) hands what it read to the driver.
#pragma once

#include <string>

namespace e2e::probe {

// The environment variable that names the folder the probe writes into; the
// program inherits it from the driver.
constexpr char kFolderVariable[] = "LOGO_PROBE_FOLDER";
// Written last, listing the ids of the controls whose bitmaps were written.
constexpr char kDoneFile[] = "probe.done";

// The bitmap shown by the logo control `id`.
inline std::string LogoFileName(int id) { return "logo-" + std::to_string(id) + ".bmp"; }

}  // namespace e2e::probe
