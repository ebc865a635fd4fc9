// Demo mode of the driver, for scripts/demo: opens the sample package's
// program (run in place, from its own folder) and walks it, asking for a
// screenshot at each screen worth a picture: the licence screen (licence),
// "I Agree", the setup screen with the installation folder typed in (setup),
// "Install" confirmed, the bar cycling while the unpacker runs (progress),
// "Installed successfully" (success), then "Close". The package is installed
// into kDemoInstallFolder, which the script then compares with the sample
// data.
//
// Screenshots are taken outside Wine, by scripts/demo, on the X display the
// program runs on. They are asked for through the exchange folder given with
// --demo=FOLDER: the driver writes NAME.request, holding the lines
//   display=<the X display, from DISPLAY>
//   geometry=<W>x<H>+<X>+<Y>   (the window's client area on the screen)
// and waits for NAME.done, which the script writes once NAME.png is saved.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Where the walk installs the sample package (on drive c: of the prefix).
constexpr char kDemoInstallFolder[] = "C:\\Verandel Data";

// Runs the walk; 0 when every step went as expected.
int RunDemo();

// The short walk of a branded package (scripts/demo --branded): the
// licence screen's screenshot, named `name`, then "Cancel"; 0 when it went
// as expected.
int RunLicenceShot(const std::string& name);

// Asks for a screenshot of `window` (its client area) named `name`; true
// once it is taken.
bool RequestScreenshot(const std::string& name, HWND window);

}  // namespace e2e
