#include "common/message_box.h"

#include <windows.h>

namespace {
MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}
}  // namespace

int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
  if (Hook()) return Hook()(text, caption, flags | MB_TASKMODAL);
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags | MB_TASKMODAL);
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }
