#include "platform/InputRules.h"

#include "platform/Services.h"

namespace corvane {

namespace {

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x2028) || c == QChar(0x2029) ||
           c == QChar(0x0085) || c == QChar(0x000B) || c == QChar(0x000C);
}

bool isControl(QChar c) { return c.category() == QChar::Other_Control; }

}  // namespace

QString singleLineText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) continue;
        if (isLineBreak(c) || c == QLatin1Char('\t')) out += QLatin1Char(' ');
        else if (!isControl(c)) out += c;
    }
    return out;
}

QString multiLineText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) continue;
        if (isLineBreak(c)) out += QLatin1Char('\n');
        else if (!isControl(c)) out += c;
    }
    return out;
}

QString tooLongMessage(int maxLength)
{
    return QStringLiteral("输入的内容过长：此处最多只能输入 %1 个字符").arg(maxLength);
}

void applyLineRules(QLineEdit* box, int maxLength)
{
    // One character more than the column holds, so that a longer paste is
    // seen (and refused) rather than silently cut at the box's own limit.
    box->setMaxLength(maxLength > 0 ? maxLength + 1 : 32767);
    const bool applied = box->property("lineRulesLimit").isValid();
    box->setProperty("lineRulesLimit", maxLength);
    if (applied) return;  // the rules are in place: only the limit changes
    box->setProperty("acceptedText", box->text());
    QObject::connect(box, &QLineEdit::textChanged, box, [box] {
        // Set by the program. The box's own text, not the signal's: a text
        // set while an edit is handled (cleaned, filtered) is followed by the
        // edit's own, older, textChanged.
        if (!box->isModified()) box->setProperty("acceptedText", box->text());
    });
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& typed) {
        const int maxLength = box->property("lineRulesLimit").toInt();
        const QString clean = singleLineText(typed);
        if (maxLength > 0 && clean.size() > maxLength) {
            const int cursor = box->cursorPosition();
            box->setText(box->property("acceptedText").toString());
            box->setCursorPosition(std::min(cursor, int(box->text().size())));
            MsgBox(tooLongMessage(maxLength), vbExclamation);
            return;
        }
        if (clean != typed) {
            const int cursor = box->cursorPosition();
            box->setText(clean);
            box->setCursorPosition(std::min(cursor, int(clean.size())));
        }
        box->setProperty("acceptedText", clean);
    });
}

}  // namespace corvane
