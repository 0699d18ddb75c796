// Events of the main window's controls, and the one place that binds them to handlers.
#pragma once

#include <string>

enum class UiEvent { Changed, Clicked, LeftDown, LeftUp, RightUp, MouseMove };

// Runs the handler bound to `event` of the control `name`, if any.
void DispatchControlEvent(const std::string& name, UiEvent event);
// True when some handler listens to `event` of `name`.
bool HasHandler(const std::string& name, UiEvent event);
