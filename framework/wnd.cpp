#include "framework/wnd.h"

#include "framework/data_exchange.h"

CString WindowText(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  CString text;
  const int copied = ::GetWindowTextA(window, text.GetBufferSetLength(length), length + 1);
  text.ReleaseBuffer(copied < 0 ? 0 : copied);
  return text;
}

void CWnd::GetWindowText(CString& text) const { text = WindowText(m_hWnd); }

void CWnd::CenterWindow() {
  RECT window;
  ::GetWindowRect(m_hWnd, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;

  RECT workArea;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  RECT centreOn = workArea;
  const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &centreOn);

  int left = (centreOn.left + centreOn.right - width) / 2;
  int top = (centreOn.top + centreOn.bottom - height) / 2;
  // Keep the whole window on the work area where it fits.
  if (left + width > workArea.right) left = workArea.right - width;
  if (top + height > workArea.bottom) top = workArea.bottom - height;
  if (left < workArea.left) left = workArea.left;
  if (top < workArea.top) top = workArea.top;
  ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::SetFontOn(HFONT font, std::initializer_list<int> ids) {
  const WPARAM handle = reinterpret_cast<WPARAM>(font);
  SendMessage(WM_SETFONT, handle, TRUE);
  for (const int id : ids) SendDlgItemMessage(id, WM_SETFONT, handle, TRUE);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CWnd::DoDataExchange(CDataExchange* /*dx*/) {}
