// Dispatching of window messages, shared by the waits and the window layer.
#pragma once
#include <windows.h>

// Routes one message: keyboard navigation for the window it belongs to, then the window.
void DispatchOneMessage(MSG& msg);
// Handles every message that is waiting and returns at once. A WM_QUIT is put back
// so that the outermost loop still sees it; the result is then false.
bool DispatchPendingMessages();
