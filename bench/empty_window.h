#pragma once
// The floor for start-up and memory: a program that does nothing but show one window, painted
// in one colour, where and as large as the main window. The benchmark finds it by its class.
#include <windows.h>

inline constexpr char EmptyWindowClass[] = "ValkestaBench.EmptyWindow";
inline constexpr COLORREF EmptyWindowColor = RGB(0x2a, 0x6e, 0x8c);
inline constexpr POINT EmptyWindowPosition{504, 127};
inline constexpr SIZE EmptyWindowClientSize{582, 356};
