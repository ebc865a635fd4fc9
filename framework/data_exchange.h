// Data exchange between a dialog's members and its controls.
#pragma once

#include "framework/cstring.h"
#include "framework/wnd.h"

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;  // TRUE: from the controls into the members
};

// Binds a wrapper to the dialog's control `id`, once.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

// The member becomes the control's whole text, or the control's whole text
// is read back into the member.
void DDX_Text(CDataExchange* dx, int id, CString& value);

// Toward the control: selects the first list entry that begins with the
// text, letter case ignored; when none does, puts the text into the combo's
// edit field. From the control: the text of the edit field.
void DDX_CBString(CDataExchange* dx, int id, CString& value);
