#pragma once

// A widget that keeps its place in its layout while hidden, so that nothing around it moves
// or is laid out and drawn again when it hides or shows.

#include <QSizePolicy>
#include <QWidget>

inline void keepPlaceWhenHidden(QWidget &widget)
{
    QSizePolicy policy = widget.sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget.setSizePolicy(policy);
}
