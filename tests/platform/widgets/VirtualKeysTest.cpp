#include "platform/widgets/VirtualKeys.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualKeys, KeysCarryTheirWindowsCodesAndKeypadKeysThoseOfTheKeypad)
{
    const struct
    {
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
    } cases[] = {
        {Qt::Key_A, {}, 65},
        {Qt::Key_7, {}, 55},
        {Qt::Key_Return, {}, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Escape, {}, 27},
        {Qt::Key_F12, {}, 123},
        {Qt::Key_7, Qt::KeypadModifier, 103},
        {Qt::Key_Minus, {}, 189},
        {Qt::Key_Minus, Qt::KeypadModifier, 109},
        {Qt::Key_Left, Qt::KeypadModifier, 37},
        {Qt::Key_Exclam, {}, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WindowsVirtualKey(c.key, c.modifiers), c.code) << c.key;
}

} // namespace
