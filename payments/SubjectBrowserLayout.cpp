#include "payments/SubjectBrowserLayout.h"

#include <QLabel>

#include "platform/Widgets.h"

namespace corvane::payments {

SubjectBrowserControls layOutSubjectBrowser(Form& form, const QString& name, const QString& caption,
                                            const QString& closeCaption)
{
    form.setObjectName(name);
    form.setCaption(caption);
    form.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
    // As tall as the payment window it opens over, so its title bar and
    // bottom edge run across none of that window's rows of buttons.
    form.setFixedSize(px(6000), px(8160));
    useLayoutFace(&form);
    SubjectBrowserControls c;
    c.tree = named(new QTreeWidget(&form), QStringLiteral("TreeView1"));
    c.tree->setHeaderHidden(true);
    place(c.tree, 120, 120, 5760, 6300);
    auto* code = named(new QLabel(QStringLiteral("代码"), &form), QStringLiteral("Label1_0"));
    place(code, 120, 6570, 600, 255);
    c.text[0] = named(new QLineEdit(&form), QStringLiteral("Text1_0"));
    c.text[0]->setReadOnly(true);
    place(c.text[0], 720, 6540, 5160, 300);
    auto* label = named(new QLabel(QStringLiteral("名称"), &form), QStringLiteral("Label1_1"));
    place(label, 120, 6990, 600, 255);
    c.text[1] = named(new QLineEdit(&form), QStringLiteral("Text1_1"));
    c.text[1]->setReadOnly(true);
    place(c.text[1], 720, 6960, 5160, 300);
    c.choose = button(&form, QStringLiteral("Command1"), QStringLiteral("选择"));
    place(c.choose, 3240, 7440, 1200, 420);
    c.close = button(&form, QStringLiteral("Command2"), closeCaption);
    place(c.close, 4680, 7440, 1200, 420);
    return c;
}

}  // namespace corvane::payments
