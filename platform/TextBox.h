#pragma once

#include <QPlainTextEdit>
#include <QString>

namespace corvane {

// A text box of the old window: one line unless made multi-line. text() and
// setText() as the old box had them; Change fires only when the text changes.
class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr, bool multiLine = false);
    QString text() const { return toPlainText(); }
    void setText(const QString& text);
    bool Locked() const { return isReadOnly(); }
    void setLocked(bool locked) { setReadOnly(locked); }

signals:
    void Change();
    void GotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool m_multiLine;
    QString m_last;
};

}  // namespace corvane
