// CDialog: a modal dialog on a numbered template.
//
// The dialog procedure binds the object to its window at WM_INITDIALOG
// (messages before it are left to the system), routes every message through
// the message map, sends IDOK and IDCANCEL to the virtual OnOK and OnCancel,
// and lets no exception cross it.
#pragma once

#include "framework/wnd.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

  // Runs the dialog modally; its end result, or -1 when it could not be created.
  virtual INT_PTR DoModal();
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  void EndDialog(int result);

  const MessageMap* GetMessageMap() const override;
  static const MessageMap* ThisMessageMap();

 protected:
  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void RouteOK() { OnOK(); }
  void RouteCancel() { OnCancel(); }
};
