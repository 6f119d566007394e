#include "platform/TextBox.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

#include "platform/InputRules.h"
#include "platform/Services.h"

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
        if (!m_settingText) emit Edited();
    });
}

void TextBox::setText(const QString& text)
{
    if (text == toPlainText()) return;
    m_settingText = true;
    setPlainText(text);
    m_settingText = false;
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
    const QString typed = event->text();
    if (!typed.isEmpty() && !isReadOnly() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        (typed.front().isPrint() || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // A full box takes no more; a character it would not keep is dropped.
        const QString kept = m_multiLine ? multiLineText(typed) : singleLineText(typed);
        const qsizetype selected = textCursor().selectedText().size();
        if (kept.isEmpty() || (m_maxLength > 0 && toPlainText().size() - selected + kept.size() > m_maxLength)) {
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextBox::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText()) return;
    insertTyped(source->text());
}

void TextBox::insertTyped(const QString& text)
{
    const QString kept = m_multiLine ? multiLineText(text) : singleLineText(text);
    const qsizetype selected = textCursor().selectedText().size();
    if (m_maxLength > 0 && toPlainText().size() - selected + kept.size() > m_maxLength) {
        MsgBox(tooLongMessage(m_maxLength), vbExclamation);
        return;
    }
    insertPlainText(kept);
}

}  // namespace corvane
