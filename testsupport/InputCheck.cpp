#include "testsupport/InputCheck.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "db/Schema.h"
#include "platform/InputRules.h"
#include "platform/TextBox.h"
#include "testsupport/HostileInput.h"
#include "testsupport/TestEnvironment.h"

namespace corvane::test {

namespace {

// A text box a user can type into, and the name it goes by.
struct Box {
    QWidget* widget = nullptr;
    QString name;
};

std::vector<Box> editableBoxes(QWidget* window)
{
    std::vector<Box> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            if (e->isReadOnly() || qobject_cast<QAbstractSpinBox*>(e->parentWidget())) continue;
            // The box of an editable list goes by the list's name.
            if (auto* c = qobject_cast<QComboBox*>(e->parentWidget())) out.push_back({e, c->objectName()});
            else out.push_back({e, e->objectName()});
        } else if (auto* t = qobject_cast<QPlainTextEdit*>(w)) {
            if (!t->isReadOnly()) out.push_back({t, t->objectName()});
        }
    }
    return out;
}

QString textOf(QWidget* w)
{
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    return static_cast<QPlainTextEdit*>(w)->toPlainText();
}

void setTextOf(QWidget* w, const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
    else if (auto* b = qobject_cast<TextBox*>(w)) b->setText(text);
    else static_cast<QPlainTextEdit*>(w)->setPlainText(text);
}

// Pastes as a user does; false when the box has no paste of ours to go through.
bool paste(QWidget* w, const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->insert(text);
        return true;
    }
    if (auto* b = qobject_cast<TextBox*>(w)) {
        b->insertTyped(text);
        return true;
    }
    return false;
}

bool holdsControl(const QString& text)
{
    for (QChar c : text)
        if (c != QLatin1Char('\n') && c.category() == QChar::Other_Control) return true;
    return false;
}

QString shortly(const QString& text)
{
    return text.size() > 12 ? QStringLiteral("%1 characters").arg(text.size()) : QStringLiteral("“%1”").arg(text);
}

// The first problem of one box, or "".
QString problemOf(const Box& box, int length, const QString& column)
{
    std::vector<QString> texts = hostileTexts();
    if (length > 0) {
        // Digits pass the boxes that take digits only, too.
        texts.emplace_back(length, QLatin1Char('9'));
        texts.emplace_back(length + 1, QLatin1Char('9'));
    }
    for (const QString& text : texts) {
        setTextOf(box.widget, QString());
        doubles().boxes->shown.clear();
        if (!paste(box.widget, text)) return QStringLiteral("no input rules (a plain text editor)");
        const QString kept = textOf(box.widget);
        const QList<ShownBox> shown = doubles().boxes->shown;
        if (holdsControl(kept)) return QStringLiteral("keeps a control character of ") + shortly(text);
        if (length == 0) continue;
        const QString oneLine = singleLineText(text);
        const QString lines = multiLineText(text);
        if (std::min(oneLine.size(), lines.size()) > length) {
            const bool told = !shown.isEmpty() && shown.back().text == tooLongMessage(length);
            if (kept.size() > length)
                return QStringLiteral("keeps %1 characters, %2 holds %3").arg(kept.size()).arg(column).arg(length);
            if (!kept.isEmpty() || !told)
                return QStringLiteral("a paste of %1 is not refused with the input rules' message").arg(shortly(text));
        } else if (kept.size() > length) {
            return QStringLiteral("keeps %1 characters, %2 holds %3").arg(kept.size()).arg(column).arg(length);
        } else if (text.size() == length && kept != text) {
            return QStringLiteral("a paste of %1 that %2 holds is kept as %3").arg(shortly(text), column, shortly(kept));
        }
    }
    return {};
}

}  // namespace

QStringList inputProblems(QWidget* window, const std::map<QString, QString>& stored, const QSet<QString>& unstored)
{
    QStringList problems;
    for (const Box& box : editableBoxes(window)) {
        if (box.name.isEmpty()) {
            problems << QStringLiteral("a box without a name in ") + box.widget->parentWidget()->objectName();
            continue;
        }
        const auto column = stored.find(box.name);
        int length = 0;
        if (column != stored.end()) {
            const QStringList parts = column->second.split(QLatin1Char('.'));
            const schema::Table* table = parts.size() == 2 ? schema::table(parts[0]) : nullptr;
            const schema::Column* c = table ? table->column(parts[1]) : nullptr;
            if (!c || (c->type != ColumnType::Text && c->type != ColumnType::LongText)) {
                problems << box.name + QStringLiteral(": ") + column->second + QStringLiteral(" is no text column of the schema");
                continue;
            }
            length = schema::textLength(parts[0], parts[1]);  // 0: unbounded text
        } else if (!unstored.contains(box.name)) {
            problems << box.name + QStringLiteral(": an editable box the check does not know");
            continue;
        }
        const QString before = textOf(box.widget);
        const QString problem = problemOf(box, length, column != stored.end() ? column->second : QString());
        setTextOf(box.widget, before);
        if (!problem.isEmpty()) problems << box.name + QStringLiteral(": ") + problem;
    }
    doubles().boxes->shown.clear();
    return problems;
}

}  // namespace corvane::test
