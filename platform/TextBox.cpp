#include "platform/TextBox.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace corvane {

TextBox::TextBox(QWidget* parent, bool multiLine) : QPlainTextEdit(parent), m_multiLine(multiLine)
{
    setTabChangesFocus(true);
    if (!multiLine) {
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // The old boxes were one text line high: the default margin of a
        // document would cut the line off at the bottom.
        document()->setDocumentMargin(1);
    }
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        const QString now = toPlainText();
        if (now == m_last) return;
        m_last = now;
        emit Change();
    });
}

void TextBox::setText(const QString& text)
{
    if (text == toPlainText()) return;
    setPlainText(text);
    moveCursor(QTextCursor::End);
}

void TextBox::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    emit GotFocus();
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    if (!m_multiLine && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextBox::insertFromMimeData(const QMimeData* source)
{
    if (m_multiLine || !source->hasText()) return QPlainTextEdit::insertFromMimeData(source);
    QString t = source->text();
    t.remove(QLatin1Char('\r'));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    insertPlainText(t);
}

}  // namespace corvane
