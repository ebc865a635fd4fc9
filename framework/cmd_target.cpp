#include "framework/cmd_target.h"

const MessageMap* CCmdTarget::ThisMessageMap() {
  static const MessageMap map = {nullptr, nullptr, 0};
  return &map;
}

const MessageMap* CCmdTarget::GetMessageMap() const { return ThisMessageMap(); }

bool CCmdTarget::DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const UINT code = HIWORD(wParam);
  const UINT id = LOWORD(wParam);
  for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
    for (std::size_t i = 0; i < map->count; ++i) {
      const MessageMapEntry& entry = map->entries[i];
      if (entry.message != message) continue;
      if (message == WM_COMMAND && (entry.code != code || entry.id != id)) continue;
      if (entry.onParams != nullptr) {
        result = (this->*entry.onParams)(wParam, lParam);
      } else if (entry.onIcon != nullptr) {
        result = reinterpret_cast<LRESULT>((this->*entry.onIcon)());
      } else {
        (this->*entry.onVoid)();
        result = 0;
      }
      return true;
    }
  }
  return false;
}
