// CWnd: a window handle with the operations the program's screens use. It
// owns nothing: the system destroys the windows, and the object only
// forgets its handle when its window goes.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "framework/cmd_target.h"
#include "framework/cstring.h"

class CDataExchange;

// The whole text of a window.
CString WindowText(HWND window);

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;

  HWND GetSafeHwnd() const { return m_hWnd; }
  BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
  void GetWindowText(CString& text) const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL RedrawWindow(const RECT* rect, HRGN region, UINT flags) { return ::RedrawWindow(m_hWnd, rect, region, flags); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
  }
  // Sets `font` on the window itself, then on each of its controls `ids`, in
  // that order; the window's own font does not pass on to its controls.
  void SetFontOn(HFONT font, std::initializer_list<int> ids);
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }

  // Centres the window over its owner when the owner is visible, otherwise
  // in the work area of the screen.
  void CenterWindow();

  // Runs the data exchange: toward the controls with FALSE, from them with
  // TRUE. Values are not validated, so it always succeeds.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* dx);

 protected:
  // Called by a handler that wants the system's default handling of the
  // message it is handling (for instance, painting).
  void Default() { m_defaultRequested = true; }
  bool m_defaultRequested = false;
};
