// Windows of the driver's own, shown by the driver started a second time with
// --helper=KIND, so that the harness can check its cross-process readers and
// its answers against real windows whose contents it knows.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e::helper {

constexpr const char kArgument[] = "--helper=";

// A message box: its kind's name, style and texts.
struct BoxKind {
  const char* name;
  UINT style;
};
constexpr BoxKind kYesNoBox = {"yes-no-box", MB_YESNO | MB_ICONEXCLAMATION};
constexpr BoxKind kPlainOkBox = {"plain-ok-box", MB_OK};
constexpr const char kBoxCaption[] = "Harness helper";
constexpr const char kBoxText[] = "Start Installation on the selected directory?\nSecond line of the question.";

// A window with a list box, a combo box and an edit.
constexpr const char kControlsKind[] = "controls";
constexpr const char kControlsCaption[] = "Harness controls";
constexpr int kListId = 100;
constexpr int kComboId = 101;
constexpr int kEditId = 102;
const std::vector<std::string>& ListTexts();

// When the command line asks for a helper window: shows it until it is
// answered or closed and gives the exit code (a message box's answer, 0 for
// the controls window). Nothing otherwise.
std::optional<int> RunIfAsked(int argc, char** argv);

}  // namespace e2e::helper
