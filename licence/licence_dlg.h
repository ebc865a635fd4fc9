// The licence screen: logo, three welcome lines, the title and the licence
// text, with "I Agree" and "Cancel".
#pragma once

#include "framework/afxwin.h"
#include "setup/screen_options.h"

class CLicenseDlg : public CDialog {
 public:
  // `options`: what the command line gives the setup screen.
  explicit CLicenseDlg(CWnd* parent = nullptr, const ScreenOptions& options = ScreenOptions());
  ~CLicenseDlg() override;

  const MessageMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  // "I Agree".
  void OnOK() override;

  CString m_strAppDir;
  CString m_strFirstLine;
  CEdit m_editLicenseText;
  CButton m_btnAgree;
  CButton m_btnCancel;
  CStatic m_stLicenseTitle;
  CStatic m_stHeadline;
  CStatic m_stThirdLine;
  CStatic m_stSecondLine;
  CString m_strSecondLine;
  CString m_strThirdLine;
  CString m_strHeadline;
  CString m_strLicenseTitle;
  CString m_strLicenseText;

 private:
  ScreenOptions m_options;
  // Lives until the dialog's window and its controls are gone.
  CFont m_font;
};
