// Every message box of both programs goes through here: task-modal, no owner window.
#pragma once

#include <functional>
#include <string>

// Shows `text` with `caption` and the MB_* `flags` (MB_TASKMODAL is added) and returns
// the button pressed (IDOK, IDYES, ...). The texts are shown as given: callers convert
// them for display first where the program does so.
int ShowMessage(const std::string& text, const std::string& caption, unsigned flags);

// Tests replace the real box: the hook receives what would be shown and returns the
// answer. An empty function restores the real box.
using MessageBoxHook = std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;
void SetMessageBoxHook(MessageBoxHook hook);
