#include "framework/controls.h"

#include <string>

void CComboBox::GetLBText(int index, CString& text) const {
  const LRESULT length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR) {
    text.Empty();
    return;
  }
  std::string buffer(static_cast<size_t>(length) + 1, '\0');
  SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&buffer[0]));
  text = buffer.c_str();
}
