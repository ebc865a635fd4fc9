// Control wrappers: each holds the handle of one control of a dialog, bound
// by DDX_Control, and offers the few operations the screens use.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/wnd.h"

class CButton : public CWnd {};

class CStatic : public CWnd {};

class CEdit : public CWnd {};

class CComboBox : public CWnd {
 public:
  int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
  int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
  void GetLBText(int index, CString& text) const;
};

class CProgressCtrl : public CWnd {
 public:
  void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
  int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position), 0)); }
};
