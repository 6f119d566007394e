#include "app/Helpers.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <cmath>

#include "platform/ColumnFit.h"
#include "platform/Services.h"
#include "platform/TextMeasure.h"

namespace corvane {

namespace {

// The area in which the main window lays out its children. Before the main
// window exists a dialog is centred on the screen instead of failing.
QSizeF clientAreaTwips()
{
    if (QMdiArea* area = FormRegistry::instance().mdiArea()) {
        const QSize px = area->isVisible() ? area->viewport()->size() : area->contentsRect().size();
        return QSizeF(pixelsToTwips(px.width()), pixelsToTwips(px.height()));
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize px = screen ? screen->availableGeometry().size() : QSize();
    return QSizeF(pixelsToTwips(px.width()), pixelsToTwips(px.height()));
}

// Where that area starts on the screen.
QPoint clientAreaOnScreen()
{
    if (QMdiArea* area = FormRegistry::instance().mdiArea())
        return area->isVisible() ? area->viewport()->mapToGlobal(QPoint(0, 0)) : QPoint();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().topLeft() : QPoint();
}

}  // namespace

QPointF centredPosition(const QSizeF& clientTwips, const QSizeF& formTwips)
{
    const float left = (float(clientTwips.width()) - float(formTwips.width())) / 2.0f;
    const float top = (float(clientTwips.height()) - float(formTwips.height())) / 2.0f;
    return QPointF(left, top);
}

void CenterForm(Form& form)
{
    const QPointF p = centredPosition(clientAreaTwips(), QSizeF(form.Width(), form.Height()));
    // A window of its own is placed on the screen: over the client area where
    // it lies, so every window opened there shares one centre and a smaller
    // one opened over a larger one sits in its middle.
    const QPoint origin = form.frame()->isWindow() ? clientAreaOnScreen() : QPoint();
    form.Move(int(std::floor(p.x())) + pixelsToTwips(origin.x()), int(std::floor(p.y())) + pixelsToTwips(origin.y()));
}

void FitGridColWidth(FlexGrid& grid, const QWidget& window)
{
    const int cols = grid.Cols();
    const int rows = grid.Rows();
    if (cols <= 0 || rows <= 0) return;
    // A long grid repeats a few shapes of text (numbers of one pattern,
    // amounts of one length): each shape is measured once, not each cell.
    WidestText widest(window.font(), cols);
    for (int c = 0; c < cols; ++c) {
        if (grid.FixedAlignment(c) == flexAlignGeneral) continue;
        grid.forEachText(c, 0, rows - 1, [&](QStringView t) { widest.add(c, t); });
        grid.setColWidth(c, int(std::nearbyint(widest.widest(c) + 120)));
    }
}

int CheckNumberKey(const int& KeyAscii, const QString& currentText)
{
    const bool accepted = (KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == 8 || KeyAscii == '.' ||
                          KeyAscii == 13 || KeyAscii == '-';
    if (!accepted) {
        MsgBox(QStringLiteral("只能输入数字和小数点"), vbOKOnly);
        return 0;
    }
    if (KeyAscii == '.') {
        if (currentText.contains(QLatin1Char('.'))) {
            MsgBox(QStringLiteral("小数点已经存在"), vbOKOnly);
            return 0;
        }
        return '.';
    }
    return KeyAscii;
}

int CheckNumberKey(const int& KeyAscii, const QLineEdit& textBox) { return CheckNumberKey(KeyAscii, textBox.text()); }

}  // namespace corvane
