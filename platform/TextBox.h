#pragma once

#include <QPlainTextEdit>
#include <QString>

namespace corvane {

// A text box of the old window: one line unless made multi-line. text() and
// setText() as the old box had them; Change fires only when the text changes.
// What a user types or pastes follows the box's input rules (InputRules.h);
// what the program sets is shown as it is.
class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr, bool multiLine = false);
    QString text() const { return toPlainText(); }
    void setText(const QString& text);
    bool Locked() const { return isReadOnly(); }
    void setLocked(bool locked) { setReadOnly(locked); }
    // The most characters a user may put in; 0 for no limit of ours.
    void setMaxLength(int maxLength) { m_maxLength = maxLength; }
    int maxLength() const { return m_maxLength; }
    // Inserts text as a user's paste does: cleaned by the box's rules, and
    // refused with a message when the box would hold more than it takes.
    void insertTyped(const QString& text);

signals:
    void Change();
    // The user changed the text (typing, pasting, cutting); never fired for setText.
    void Edited();
    void GotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool m_settingText = false;
    bool m_multiLine;
    int m_maxLength = 0;
    QString m_last;
};

}  // namespace corvane
