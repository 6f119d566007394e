#pragma once
// Building a window's control tree in the old windows' terms: each control
// carries its project name as objectName (tests and scripts find it by that
// name), and geometry is given in twips.

#include <QPushButton>
#include <QString>
#include <QWidget>

#include "platform/Forms.h"

namespace corvane {

constexpr int px(int twips) { return twipsToPixels(twips); }

template <class T>
T* named(T* object, const QString& name)
{
    object->setObjectName(name);
    return object;
}

inline QPushButton* button(QWidget* parent, const QString& name, const QString& caption)
{
    return named(new QPushButton(caption, parent), name);
}

// Left, top, width and height in twips.
inline void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(px(left), px(top), px(width), px(height));
}

}  // namespace corvane
