#include "app/program_screens.h"

#include "licence/licence_dlg.h"
#include "res/texts.h"

namespace {
// The exit code of the screens' ordinary end.
constexpr int kOrdinaryExitCode = 0;
}  // namespace

void Win32ProgramScreens::ShowMessage(const char* text) { AfxMessageBox(text, MB_OK); }

int Win32ProgramScreens::RunScreens(const CString& proposedFolder, RunLog& log) {
  ScreenOptions options;
  options.proposedFolder = proposedFolder;
  options.log = &log;
  CLicenseDlg licence(nullptr, options);
  m_app.m_pMainWnd = &licence;
  if (licence.DoModal() == IDCANCEL) log.Line(TEXT_LOG_LICENCE_DECLINED);
  // The licence screen's object goes with this scope: leave no pointer to it.
  m_app.m_pMainWnd = nullptr;
  return kOrdinaryExitCode;
}
