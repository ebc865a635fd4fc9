#include "licence/licence_dlg.h"

#include "package/licence_texts.h"
#include "package/program_folder.h"
#include "res/resource.h"
#include "res/texts.h"
#include "setup/setup_dlg.h"
#include "run/run_log.h"

namespace {

constexpr long kScreenFontTenths = 120;

WelcomeLines FallbackWelcomeLines() {
  WelcomeLines lines;
  lines.first.LoadString(IDS_WELCOME_1);
  lines.second.LoadString(IDS_WELCOME_2);
  lines.third.LoadString(IDS_WELCOME_3);
  return lines;
}

}  // namespace

CLicenseDlg::CLicenseDlg(CWnd* parent, const ScreenOptions& options)
    : CDialog(IDD_LICENSE_DIALOG, parent), m_options(options) {
  m_strSecondLine = "";
  m_strThirdLine = "";
  m_strHeadline = "";
  m_strLicenseTitle = TEXT_LICENSE_TITLE;
  m_strLicenseText = "";

  const CWinApp* app = AfxGetApp();
  m_strAppDir = ProgramFolder(app != nullptr ? app->m_pszHelpFilePath : "");
  const LicenceScreenTexts texts = ReadLicenceScreenTexts(m_strAppDir, FallbackWelcomeLines());
  m_strFirstLine = texts.lines.first;
  m_strSecondLine = texts.lines.second;
  m_strThirdLine = texts.lines.third;
  m_strHeadline = texts.headline;
  m_strLicenseText = texts.licenceText;
}

CLicenseDlg::~CLicenseDlg() = default;

const MessageMap* CLicenseDlg::GetMessageMap() const {
  static const MessageMap map = {CDialog::ThisMessageMap(), nullptr, 0};
  return &map;
}

void CLicenseDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_LICENSE_TEXT, m_editLicenseText);
  DDX_Control(dx, IDOK, m_btnAgree);
  DDX_Control(dx, IDCANCEL, m_btnCancel);
  DDX_Control(dx, IDC_LICENSE_TITLE, m_stLicenseTitle);
  DDX_Control(dx, IDC_HEADLINE, m_stHeadline);
  DDX_Control(dx, IDC_THIRDLINE, m_stThirdLine);
  DDX_Control(dx, IDC_SECONDLINE, m_stSecondLine);
  DDX_Text(dx, IDC_SECONDLINE, m_strSecondLine);
  DDX_Text(dx, IDC_THIRDLINE, m_strThirdLine);
  DDX_Text(dx, IDC_HEADLINE, m_strHeadline);
  DDX_Text(dx, IDC_LICENSE_TITLE, m_strLicenseTitle);
  DDX_Text(dx, IDC_LICENSE_TEXT, m_strLicenseText);
}

BOOL CLicenseDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  const LOGFONTA description = PointFontDescription(TEXT_SCREEN_FACE, kScreenFontTenths);
  if (m_font.CreatePointFontIndirect(&description)) {
    SetFontOn(m_font, {IDC_HEADLINE, IDC_THIRDLINE, IDC_SECONDLINE, IDOK, IDCANCEL, IDC_LICENSE_TITLE});
  }
  return TRUE;
}

void CLicenseDlg::OnOK() {
  if (m_options.log != nullptr) m_options.log->Line(TEXT_LOG_LICENCE_AGREED);
  ShowWindow(SW_HIDE);
  CSetupDlg setup(nullptr, m_options);
  setup.DoModal();
  // However the setup screen ended, the licence screen ends with IDOK.
  CDialog::OnOK();
}
