#pragma once
// Keys typed as a user types them: they reach the foreground window.
#include <windows.h>

#include <initializer_list>

// Presses the keys in order and releases them in reverse: {VK_CONTROL, VK_TAB} is Ctrl+Tab.
void Type(std::initializer_list<WORD> chord);
