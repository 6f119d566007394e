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
    form.setFixedSize(px(6000), px(7200));
    useLayoutFace(&form);
    SubjectBrowserControls c;
    c.tree = named(new QTreeWidget(&form), QStringLiteral("TreeView1"));
    c.tree->setHeaderHidden(true);
    place(c.tree, 120, 120, 5760, 5340);
    auto* code = named(new QLabel(QStringLiteral("代码"), &form), QStringLiteral("Label1_0"));
    place(code, 120, 5610, 600, 255);
    c.text[0] = named(new QLineEdit(&form), QStringLiteral("Text1_0"));
    c.text[0]->setReadOnly(true);
    place(c.text[0], 720, 5580, 5160, 300);
    auto* label = named(new QLabel(QStringLiteral("名称"), &form), QStringLiteral("Label1_1"));
    place(label, 120, 6030, 600, 255);
    c.text[1] = named(new QLineEdit(&form), QStringLiteral("Text1_1"));
    c.text[1]->setReadOnly(true);
    place(c.text[1], 720, 6000, 5160, 300);
    c.choose = button(&form, QStringLiteral("Command1"), QStringLiteral("选择"));
    place(c.choose, 3240, 6480, 1200, 420);
    c.close = button(&form, QStringLiteral("Command2"), closeCaption);
    place(c.close, 4680, 6480, 1200, 420);
    return c;
}

}  // namespace corvane::payments
