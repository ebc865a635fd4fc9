// Checks of the harness itself against windows of the driver's own (shown by
// a second driver process), so that the screen cases can trust what it reads
// across processes and how it answers.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/helper_windows.h"

namespace e2e {
namespace {

std::string DriverPath() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

struct BoxCase {
  helper::BoxKind kind;
  bool hasIcon;
  std::vector<int> buttons;
  int answer;
};

class HarnessMessageBox : public testing::TestWithParam<BoxCase> {};

TEST_P(HarnessMessageBox, ReadsCaptionTextIconAndButtonsAndAnswersByPosting) {
  const BoxCase& c = GetParam();
  ProgramUnderTest helper;
  ASSERT_TRUE(helper.Start(DriverPath(), "", std::string(helper::kArgument) + c.kind.name));
  const std::optional<MessageBoxOnScreen> box = WaitForMessageBox(helper);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, helper::kBoxCaption);
  EXPECT_EQ(box->text, helper::kBoxText);
  EXPECT_EQ(box->hasIcon, c.hasIcon);
  EXPECT_EQ(box->buttons, c.buttons);
  Answer(*box, c.answer);
  EXPECT_EQ(helper.WaitForExit(), std::optional<DWORD>(c.answer));
}

INSTANTIATE_TEST_SUITE_P(Boxes, HarnessMessageBox,
                         testing::Values(BoxCase{helper::kYesNoBox, true, {IDYES, IDNO}, IDNO},
                                         BoxCase{helper::kYesNoBox, true, {IDYES, IDNO}, IDYES},
                                         BoxCase{helper::kPlainOkBox, false, {IDOK}, IDOK}),
                         [](const testing::TestParamInfo<BoxCase>& info) {
                           std::string name = std::string(info.param.kind.name) + "_answer_" +
                                              std::to_string(info.param.answer);
                           for (char& ch : name) {
                             if (ch == '-') ch = '_';
                           }
                           return name;
                         });

TEST(Harness, ReadsListsAndTypesIntoAnEditOfAnotherProcess) {
  ProgramUnderTest helper;
  ASSERT_TRUE(helper.Start(DriverPath(), "", std::string(helper::kArgument) + helper::kControlsKind));
  const HWND window = WaitForWindow(helper, helper::kControlsCaption);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ListEntries(::GetDlgItem(window, helper::kListId)), helper::ListTexts());
  EXPECT_EQ(ComboEntries(::GetDlgItem(window, helper::kComboId)), helper::ListTexts());

  const HWND edit = ::GetDlgItem(window, helper::kEditId);
  const std::string typed = "c:\\data";
  PostChars(edit, typed + "x");
  PressKey(edit, VK_BACK);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(edit) == typed; }, kWindowWaitMs)) << "the edit holds " << TextOf(edit);
  PressCloseBox(window);
  EXPECT_EQ(helper.WaitForExit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace e2e
