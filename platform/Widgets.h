#pragma once
// Building a window's control tree in the old windows' terms: each control
// carries its project name as objectName (tests and scripts find it by that
// name), and geometry is given in twips.

#include <QFont>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <algorithm>

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

// A pop-up (calendar, drop-down list, panel) shown whole and in front: moved
// left or up as far as it must to lie inside the control that holds it.
inline void bringInside(QWidget* popup)
{
    if (const QWidget* holder = popup->parentWidget()) {
        const QRect room = holder->rect();
        QPoint at = popup->pos();
        at.setX(std::max(0, std::min(at.x(), room.width() - popup->width())));
        at.setY(std::max(0, std::min(at.y(), room.height() - popup->height())));
        popup->move(at);
    }
    popup->raise();
}

// Geometry in twips was laid out for a nine-point face on a 96 dpi screen
// (twelve pixels); a window laid out that way keeps that face, since a larger
// one would cut its captions off.
inline void useLayoutFace(QWidget* window)
{
    QFont face = window->font();
    face.setPixelSize(12);
    window->setFont(face);
}

}  // namespace corvane
