#include "framework/data_exchange.h"

#include "framework/controls.h"

namespace {

HWND Control(CDataExchange* dx, int id) { return dx->m_pDlgWnd->GetDlgItem(id); }

}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd == nullptr) control.m_hWnd = Control(dx, id);
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  const HWND control = Control(dx, id);
  if (dx->m_bSaveAndValidate) {
    value = WindowText(control);
  } else {
    ::SetWindowTextA(control, value);
  }
}

void DDX_CBString(CDataExchange* dx, int id, CString& value) {
  const HWND combo = Control(dx, id);
  if (dx->m_bSaveAndValidate) {
    value = WindowText(combo);
    return;
  }
  const LRESULT found = ::SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str()));
  if (found == CB_ERR) ::SetWindowTextA(combo, value);
}
