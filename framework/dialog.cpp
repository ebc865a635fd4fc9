#include "framework/dialog.h"

#include "framework/win_app.h"

const MessageMap* CDialog::ThisMessageMap() {
  // IDOK (the default button, Enter) and IDCANCEL (Cancel, Esc, the close
  // box) reach the virtual OnOK and OnCancel.
  static const MessageMapEntry entries[] = {
      OnCommand<CDialog>(IDOK, &CDialog::RouteOK),
      OnCommand<CDialog>(IDCANCEL, &CDialog::RouteCancel),
  };
  static const MessageMap map = {CWnd::ThisMessageMap(), entries, sizeof entries / sizeof entries[0]};
  return &map;
}

const MessageMap* CDialog::GetMessageMap() const { return ThisMessageMap(); }

INT_PTR CDialog::DoModal() {
  // The owner is the given parent, or else the main window, as its last
  // active pop-up; the licence screen, itself the main window, has none.
  HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
  if (owner == nullptr) {
    CWnd* mainWindow = AfxGetMainWnd();
    if (mainWindow != nullptr && mainWindow != this) owner = mainWindow->m_hWnd;
  }
  if (owner != nullptr) owner = ::GetLastActivePopup(::GetAncestor(owner, GA_ROOTOWNER));

  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  const INT_PTR result = ::DialogBoxParamA(instance, MAKEINTRESOURCEA(m_nIDTemplate), owner, &CDialog::DialogProc,
                                           reinterpret_cast<LPARAM>(this));
  m_hWnd = nullptr;
  return result;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    dialog->m_hWnd = window;
    dialog->CenterWindow();
    return dialog->OnInitDialog();
  }
  auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
  if (dialog == nullptr) return FALSE;  // messages before WM_INITDIALOG
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, DWLP_USER, 0);
    dialog->m_hWnd = nullptr;
    return FALSE;
  }
  return dialog->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  m_defaultRequested = false;
  LRESULT result = 0;
  bool handled = DispatchMessageMap(message, wParam, lParam, result);
  // Commands the dialog does not handle go on to the application (help).
  if (!handled && message == WM_COMMAND && AfxGetApp() != nullptr) {
    handled = AfxGetApp()->DispatchMessageMap(message, wParam, lParam, result);
  }
  if (!handled || m_defaultRequested) return FALSE;
  // A few messages return their result straight from a dialog procedure.
  if (message == WM_QUERYDRAGICON) return static_cast<INT_PTR>(result);
  if (m_hWnd != nullptr) ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}
