#include "framework/controls.h"

void CComboBox::GetLBText(int index, CString& text) const {
  const LRESULT length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR) {
    text.Empty();
    return;
  }
  SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index),
              reinterpret_cast<LPARAM>(text.GetBufferSetLength(static_cast<int>(length))));
  text.ReleaseBuffer();
}
