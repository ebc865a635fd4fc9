// Message maps: each class that handles messages names them in a static
// table of entries and chains to its base class's table. Handlers are member
// functions without arguments; an entry says which message (and, for
// WM_COMMAND, which notification of which control) reaches it.
#pragma once

#include <windows.h>

#include <cstddef>

class CCmdTarget;

using VoidHandler = void (CCmdTarget::*)();
using IconHandler = HCURSOR (CCmdTarget::*)();
using ParamHandler = LRESULT (CCmdTarget::*)(WPARAM, LPARAM);

struct MessageMapEntry {
  UINT message;  // the window message (WM_COMMAND for commands and notifications)
  UINT code;     // notification code, for WM_COMMAND
  UINT id;       // control or command id, for WM_COMMAND
  VoidHandler onVoid;
  IconHandler onIcon;  // for messages whose result is an icon (WM_QUERYDRAGICON)
  ParamHandler onParams;  // for messages of the program's own that carry values
};

struct MessageMap {
  const MessageMap* base;
  const MessageMapEntry* entries;
  std::size_t count;
};

// Entry builders; T is the class whose member handles the message.
template <class T>
constexpr MessageMapEntry OnNotify(UINT code, UINT id, void (T::*handler)()) {
  return {WM_COMMAND, code, id, static_cast<VoidHandler>(handler), nullptr, nullptr};
}
template <class T>
constexpr MessageMapEntry OnCommand(UINT id, void (T::*handler)()) {
  return OnNotify<T>(0, id, handler);
}
template <class T>
constexpr MessageMapEntry OnMessage(UINT message, void (T::*handler)()) {
  return {message, 0, 0, static_cast<VoidHandler>(handler), nullptr, nullptr};
}
template <class T>
constexpr MessageMapEntry OnIconMessage(UINT message, HCURSOR (T::*handler)()) {
  return {message, 0, 0, nullptr, static_cast<IconHandler>(handler), nullptr};
}
template <class T>
constexpr MessageMapEntry OnParamMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
  return {message, 0, 0, nullptr, nullptr, static_cast<ParamHandler>(handler)};
}

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;
  virtual const MessageMap* GetMessageMap() const;

  // Finds the handler of a message in this object's map chain and calls it.
  // True when one was found; `result` then holds the handler's result.
  bool DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  static const MessageMap* ThisMessageMap();
};
