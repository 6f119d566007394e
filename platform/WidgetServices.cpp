#include "platform/WidgetServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <vector>

#include "platform/Services.h"

namespace corvane {

namespace {

class QtMessageBox final : public MessageBoxService {
public:
    int show(const QString& text, int style, const QString& title) override
    {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(title);
        box.setText(text);
        switch (iconOf(style)) {
        case vbCritical: box.setIcon(QMessageBox::Critical); break;
        case vbQuestion: box.setIcon(QMessageBox::Question); break;
        case vbExclamation: box.setIcon(QMessageBox::Warning); break;
        case vbInformation: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        struct Choice { const char* caption; int result; };
        std::vector<Choice> choices;
        switch (buttonsOf(style)) {
        case vbOKCancel: choices = {{"确定", vbOK}, {"取消", vbCancel}}; break;
        case vbAbortRetryIgnore: choices = {{"中止", vbAbort}, {"重试", vbRetry}, {"忽略", vbIgnore}}; break;
        case vbYesNoCancel: choices = {{"是", vbYes}, {"否", vbNo}, {"取消", vbCancel}}; break;
        case vbYesNo: choices = {{"是", vbYes}, {"否", vbNo}}; break;
        case vbRetryCancel: choices = {{"重试", vbRetry}, {"取消", vbCancel}}; break;
        default: choices = {{"确定", vbOK}}; break;
        }
        std::vector<QPushButton*> buttons;
        for (const auto& c : choices)
            buttons.push_back(box.addButton(QString::fromUtf8(c.caption), QMessageBox::AcceptRole));
        const size_t def = (style & vbDefaultButton2) && buttons.size() > 1 ? 1 : 0;
        box.setDefaultButton(buttons[def]);
        // Escape answers like the old boxes: Cancel or No where there is one.
        box.setEscapeButton(buttons.back());
        box.exec();
        for (size_t i = 0; i < buttons.size(); ++i)
            if (box.clickedButton() == buttons[i]) return choices[i].result;
        return choices.back().result;
    }
};

class QtDialogs final : public DialogService {
public:
    QString openFileName(const QString& title, const QString& filter, const QString& initialDir,
                         OpenMode mode) override
    {
        if (mode == ExistingFile)
            return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, initialDir, filter);
        QFileDialog dialog(QApplication::activeWindow(), title, initialDir, filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
        return dialog.selectedFiles().constFirst();
    }
    QString saveFileName(const QString& title, const QString& filter, const QString& initialName) override
    {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, initialName, filter);
    }
    QString folder(const QString& title, const QString& initialDir) override
    {
        return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, initialDir);
    }
    QString printer(const QString& title) override
    {
        QPrinter printer;
        QPrintDialog dialog(&printer, QApplication::activeWindow());
        dialog.setWindowTitle(title);
        if (dialog.exec() != QDialog::Accepted) return QString();
        return printer.printerName();
    }
};

class AppCursor final : public CursorService {
public:
    void setWait(bool wait) override
    {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
        if (wait)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
};

}  // namespace

void useWidgetServices()
{
    Services::setScreenServices({[] { return std::unique_ptr<MessageBoxService>(std::make_unique<QtMessageBox>()); },
                                 [] { return std::unique_ptr<DialogService>(std::make_unique<QtDialogs>()); },
                                 [] { return std::unique_ptr<CursorService>(std::make_unique<AppCursor>()); }});
}

}  // namespace corvane
