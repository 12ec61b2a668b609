#pragma once

// The Windows virtual-key code of a Qt key, the number the planner's keys are known by (13 for
// Enter, 27 for Escape, 65 for A).

#include <Qt>

// 0 for a key that has no virtual-key code. Keypad keys (`modifiers` with Qt::KeypadModifier)
// get the codes of the numeric keypad.
int WindowsVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers = {});
