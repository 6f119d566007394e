#include "testsupport/LayoutCheck.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollArea>
#include <QAbstractScrollArea>
#include <QCalendarWidget>
#include <QSizeGrip>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QAbstractSpinBox>
#include <QStatusBar>
#include <QStyle>

namespace corvane::test {

namespace {

QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

bool skipped(const QWidget* w, const QWidget* window, const QSet<QString>& skip)
{
    // The inner parts of grids, lists and calendars are Qt's own to lay out.
    if (qobject_cast<const QSizeGrip*>(w)) return true;
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QCalendarWidget*>(p)) return true;
    for (const QWidget* p = w; p && p != window; p = p->parentWidget())
        if (skip.contains(p->objectName())) return true;
    return false;
}

// The room a control gives its caption, and the caption, when it shows one.
bool captionRoom(const QWidget* w, QString* text, int* room)
{
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->wordWrap() || !l->pixmap().isNull()) return false;
        *text = l->text();
        *room = l->contentsRect().width();
        return true;
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        *text = b->text();
        *room = b->width() - 6;
        if (qobject_cast<const QCheckBox*>(b) || qobject_cast<const QRadioButton*>(b))
            *room = b->width() - b->style()->pixelMetric(QStyle::PM_IndicatorWidth) -
                    b->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        return true;
    }
    if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
        *text = g->title();
        *room = g->width() - 16;
        return true;
    }
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
        // What a read-only box shows is all the clerk gets to see.
        if (!e->isReadOnly() || e->echoMode() != QLineEdit::Normal) return false;
        *text = e->text();
        *room = e->width() - 8;
        return true;
    }
    if (const auto* c = qobject_cast<const QComboBox*>(w)) {
        *text = c->currentText();
        *room = c->width() - c->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 8;
        return true;
    }
    return false;
}

}  // namespace

QStringList layoutProblems(const QWidget* window, const QSet<QString>& skip)
{
    QStringList problems;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || skipped(w, window, skip) || w->isWindow()) continue;
        const QWidget* parent = w->parentWidget();
        if (parent && !parent->rect().contains(w->geometry()))
            problems << nameOf(w) + QStringLiteral(": outside ") + nameOf(parent);
        // A status line lies along the window's edge, under nothing and over nothing.
        if (qobject_cast<const QStatusBar*>(w) && parent)
            for (const QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (sibling != w && sibling->isVisibleTo(window) && !sibling->isWindow() &&
                    sibling->geometry().intersects(w->geometry()))
                    problems << nameOf(w) + QStringLiteral(": over ") + nameOf(sibling);
        QString text;
        int room = 0;
        if (captionRoom(w, &text, &room)) {
            text.remove(QLatin1Char('&'));
            int widest = 0;
            for (const QString& line : text.split(QLatin1Char('\n')))
                widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
            if (widest > room)
                problems << nameOf(w) + QStringLiteral(": text cut (%1 > %2 px): ").arg(widest).arg(room) + text;
        }
    }
    return problems;
}

// ---------------------------------------------------------------- the small screen

namespace {

void pressEscape(QWidget* target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::processEvents();
}

// Whether the clerk can bring the control into view: it lies in the frame
// the screen shows, or in a scroll area's content.
bool inReach(const QWidget* control, const QWidget* frame)
{
    for (const QWidget* p = control->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<const QScrollArea*>(p)) return true;
        if (p == frame) break;
    }
    const QRect at(control->mapTo(frame, QPoint(0, 0)), control->size());
    return frame->rect().contains(at);
}

}  // namespace

QStringList screenProblems(Form& window, QSize screen)
{
    QStringList problems;
    window.fitIntoRoom(QRect(QPoint(0, 0), screen));
    if (!window.isVisible()) window.presentModal();
    QApplication::processEvents();
    const QWidget* frame = window.frame();
    // The window manager's frame: borders and title bar.
    const QSize outer = frame->size() + QSize(8, 38);
    if (outer.width() > screen.width() || outer.height() > screen.height())
        problems << QStringLiteral("%1: %2x%3 does not fit %4x%5")
                        .arg(window.objectName())
                        .arg(outer.width())
                        .arg(outer.height())
                        .arg(screen.width())
                        .arg(screen.height());
    for (const QAbstractButton* b : window.findChildren<QAbstractButton*>())
        if (b->isVisibleTo(&window) && !inReach(b, frame)) problems << b->objectName() + QStringLiteral(": out of reach");
    return problems;
}

QStringList escapeProblems(Form& window, QAbstractButton* closeButton)
{
    QStringList problems;
    if (!closeButton) {
        // Closed by its title bar's close box only.
    } else if (!closeButton->isVisibleTo(&window) || !closeButton->isEnabled())
        problems << window.objectName() + QStringLiteral(": no close button to press");
    else if (!inReach(closeButton, window.frame()))
        problems << closeButton->objectName() + QStringLiteral(": out of reach");
    QPointer<Form> guard(&window);
    pressEscape(&window);
    if (guard && guard->isLoaded() && guard->isVisible())
        problems << window.objectName() + QStringLiteral(": Esc left it open");
    return problems;
}

QStringList panelProblems(Form& window, QWidget* panel, QWidget* closeButton)
{
    QStringList problems;
    panel->show();
    panel->raise();
    if (!window.rect().contains(QRect(panel->mapTo(&window, QPoint(0, 0)), panel->size())))
        problems << panel->objectName() + QStringLiteral(": outside ") + window.objectName();
    if (!closeButton || !closeButton->isVisibleTo(panel))
        problems << panel->objectName() + QStringLiteral(": no close button");
    else if (!panel->rect().contains(QRect(closeButton->mapTo(panel, QPoint(0, 0)), closeButton->size())))
        problems << closeButton->objectName() + QStringLiteral(": outside ") + panel->objectName();
    else if (!inReach(closeButton, window.frame()))
        problems << closeButton->objectName() + QStringLiteral(": out of reach");
    // Pressed where the clerk's focus is: on the first control of the panel
    // that takes it (a grid or a box that kept Esc to itself would leave the
    // panel open).
    QWidget* focus = panel;
    for (QWidget* w : panel->findChildren<QWidget*>())
        if (w->isVisibleTo(panel) && w->isEnabled() && w->focusPolicy() != Qt::NoFocus) {
            focus = w;
            break;
        }
    pressEscape(focus);
    if (panel->isVisibleTo(&window)) problems << panel->objectName() + QStringLiteral(": Esc left it open");
    return problems;
}

// ---------------------------------------------------------------- one window over another

namespace {

// The window manager's frame around a window of its own: borders and title bar.
constexpr QMargins kDecoration(4, 34, 4, 4);

// Where the clerk sees the widget on the screen: a window with its frame,
// a control as far as the controls holding it (a scroll area's view) show it.
QRect onScreen(const QWidget* w)
{
    if (w->isWindow()) return w->geometry().marginsAdded(kDecoration);
    QRect shown(w->mapToGlobal(QPoint(0, 0)), w->size());
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        shown &= QRect(p->mapToGlobal(QPoint(0, 0)), p->size());
        if (p->isWindow()) break;
    }
    return shown;
}

// What a clerk reads or presses; frames and grids only hold such controls.
bool readOrPressed(const QWidget* w)
{
    if (const auto* l = qobject_cast<const QLabel*>(w)) return !l->text().isEmpty() || !l->pixmap().isNull();
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QStatusBar*>(w);
}

}  // namespace

QStringList coverProblems(const Form& over, const Form& under)
{
    QStringList problems;
    const QRect edge = onScreen(over.frame());
    for (const QWidget* w : under.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&under) || w->isWindow() || !readOrPressed(w) || skipped(w, &under, {})) continue;
        const QRect shown = onScreen(w);
        if (shown.isEmpty() || !shown.intersects(edge)) continue;
        // Its top (the title bar) or its bottom (often a status line) runs
        // across the control. The sides of a window narrower than the one
        // beneath always cross some of the other's controls: they are not
        // taken for part of the window on top.
        const bool top = shown.top() < edge.top() && shown.bottom() >= edge.top();
        const bool bottom = shown.top() <= edge.bottom() && shown.bottom() > edge.bottom();
        if (top || bottom) problems << nameOf(w) + QStringLiteral(": cut by the edge of ") + over.objectName();
    }
    return problems;
}

}  // namespace corvane::test
