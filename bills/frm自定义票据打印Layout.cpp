// The control tree of the custom bill window, geometry in twips, and the
// bill page as it is drawn on screen.

#include <QPainter>
#include <QResizeEvent>
#include <QSignalBlocker>

#include "platform/Widgets.h"
#include "bills/frm自定义票据打印.h"

namespace corvane {

using namespace receipts;

namespace {

constexpr int kBarHeight = 600;     // Picture3
constexpr int kScrollTwips = 255;   // thickness of the scroll bars
constexpr int kButtonWidth = 1300;
constexpr int kButtonGap = 120;

QPushButton* command(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = button(parent, name, caption);
    b->resize(px(kButtonWidth), px(390));
    return b;
}

}  // namespace

double BillPageView::pixelsPerMillimetre() const { return logicalDpiX() / 25.4; }

void BillPageView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!page) return;
    const double k = pixelsPerMillimetre();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 1; i <= BillPage::upperBound(page->Line1); ++i) {
        const PageLine& l = page->Line1[i];
        p.setPen(QPen(Qt::black, l.width));
        p.drawLine(QPointF(l.x1 * k, l.y1 * k), QPointF(l.x2 * k, l.y2 * k));
    }
    for (int i = 1; i <= BillPage::upperBound(page->Label1); ++i) {
        const PageText& t = page->Label1[i];
        QFont f(t.fontName);
        f.setPointSizeF(t.fontSize > 0 ? t.fontSize : 9);
        f.setBold(t.bold);
        p.setFont(f);
        p.setPen(Qt::black);
        const QFontMetricsF m(f, this);
        p.drawText(QPointF(t.left * k, t.top * k + m.ascent()), t.caption);
    }
    for (const auto& list : page->fields) {
        for (int i = 1; i <= BillPage::upperBound(list); ++i) {
            const PageField& f = list[i];
            const QRectF box(f.left * k, f.top * k, f.width * k, f.height * k);
            p.fillRect(box, QColor(210, 234, 236));
            p.setFont(f.font());
            p.setPen(QColor(0, 0, 255));
            p.drawText(box, (f.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, f.text);
        }
    }
}

void frm自定义票据打印::buildLayout()
{
    setObjectName(QStringLiteral("frm自定义票据打印"));
    setCaption(kCaption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    useLayoutFace(this);

    Picture1 = named(new QFrame(this), QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::StyledPanel);
    Picture1->setStyleSheet(QStringLiteral("QFrame#Picture1 { background: #808080; }"));
    Picture2 = named(new BillPageView(Picture1), QStringLiteral("Picture2"));
    Picture2->page = &page;
    HScroll1 = named(new QScrollBar(Qt::Horizontal, Picture1), QStringLiteral("HScroll1"));
    VScroll1 = named(new QScrollBar(Qt::Vertical, Picture1), QStringLiteral("VScroll1"));
    HScroll1->setEnabled(false);
    VScroll1->setEnabled(false);
    // The page moves with the scroll bars, a millimetre a step.
    QObject::connect(HScroll1, &QScrollBar::valueChanged, this, [this] { placePage(); });
    QObject::connect(VScroll1, &QScrollBar::valueChanged, this, [this] { placePage(); });

    Picture3 = named(new QFrame(this), QStringLiteral("Picture3"));
    Command4 = command(Picture3, QStringLiteral("Command4"), QStringLiteral("票据选择"));
    Command3 = command(Picture3, QStringLiteral("Command3"), QStringLiteral("选择打印机"));
    Command2 = command(Picture3, QStringLiteral("Command2"), QStringLiteral("退出"));
    Command1 = command(Picture3, QStringLiteral("Command1"), QStringLiteral("打印"));
    Label2 = named(new QLabel(QStringLiteral("所选打印机："), Picture3), QStringLiteral("Label2"));
    Command4->hide();
    Command1->setEnabled(false);

    Picture4 = named(new QFrame(this), QStringLiteral("Picture4"));
    Picture4->setFrameShape(QFrame::Box);
    Picture4->setAutoFillBackground(true);
    place(Picture4, 0, 0, 4200, 1900);
    Label3[0] = named(new QLabel(QStringLiteral("请选择票据编号"), Picture4), QStringLiteral("Label3_0"));
    place(Label3[0], 120, 90, 3900, 300);
    Label3[1] = named(new QLabel(QStringLiteral("票据簿编号"), Picture4), QStringLiteral("Label3_1"));
    place(Label3[1], 120, 450, 1900, 300);
    Label3[2] = named(new QLabel(QStringLiteral("票据编号"), Picture4), QStringLiteral("Label3_2"));
    place(Label3[2], 2160, 450, 1900, 300);
    Combo1 = named(new QComboBox(Picture4), QStringLiteral("Combo1"));
    place(Combo1, 120, 780, 1920, 315);
    Combo2 = named(new QComboBox(Picture4), QStringLiteral("Combo2"));
    place(Combo2, 2160, 780, 1920, 315);
    Command5 = button(Picture4, QStringLiteral("Command5"), QStringLiteral("确定"));
    place(Command5, 2880, 1290, 1200, 390);
    Command6 = button(Picture4, QStringLiteral("Command6"), QStringLiteral("作废票据"));
    place(Command6, 1560, 1290, 1200, 390);
    Command6->hide();
    Command6->setEnabled(false);
    Picture4->hide();

    StatusBar1 = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < 6; ++i) {
        panels[size_t(i)] = named(new QLabel(StatusBar1), QStringLiteral("StatusBar1_Panel%1").arg(i + 1));
        StatusBar1->addWidget(panels[size_t(i)], i == 5 ? 1 : 0);
    }

    QObject::connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    QObject::connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    QObject::connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    QObject::connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    QObject::connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    QObject::connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    QObject::connect(Combo1, QOverload<int>::of(&QComboBox::activated), this, [this](int) { Combo1_Click(); });
    QObject::connect(Combo2, QOverload<int>::of(&QComboBox::activated), this, [this](int) { Combo2_Click(); });

    setMinimumSize(px(9000), px(5000));
    resize(px(13500), px(8400));
    layoutControls();
}

void frm自定义票据打印::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    layoutControls();
}

void frm自定义票据打印::layoutControls()
{
    const int w = width(), h = height();
    const int status = StatusBar1->sizeHint().height();
    const int bar = px(kBarHeight);
    StatusBar1->setGeometry(0, h - status, w, status);
    Picture3->setGeometry(0, h - status - bar, w, bar);
    // The buttons keep to the bar's right end; the printer line takes the rest.
    int x = w - px(120);
    for (QPushButton* b : {Command2, Command1, Command3, Command4}) {
        x -= b->width();
        b->move(x, (bar - b->height()) / 2);
        x -= px(kButtonGap);
    }
    Label2->setGeometry(px(120), 0, std::max(0, x - px(120)), bar);
    Picture1->setGeometry(0, 0, std::max(0, w - px(45)), std::max(0, h - status - bar));
    const int s = px(kScrollTwips);
    const QRect inner = Picture1->contentsRect();
    VScroll1->setGeometry(inner.right() + 1 - s, inner.top(), s, inner.height() - s);
    HScroll1->setGeometry(inner.left(), inner.bottom() + 1 - s, inner.width() - s, s);
    if (Picture4->isVisible()) Command4_Click();
    placePage();
}

void frm自定义票据打印::placePage()
{
    const double k = Picture2->pixelsPerMillimetre();
    const QRect inner = Picture1->contentsRect();
    const PagePlacement p = receipts::placePage(page.width, page.height, inner.width() / k, inner.height() / k,
                                                VScroll1->width() / k, HScroll1->height() / k);
    placement = p;
    {
        const QSignalBlocker quietH(HScroll1), quietV(VScroll1);
        HScroll1->setEnabled(p.hEnabled);
        HScroll1->setRange(0, p.hEnabled ? p.hMax : 0);
        VScroll1->setEnabled(p.vEnabled);
        VScroll1->setRange(0, p.vEnabled ? p.vMax : 0);
    }
    const double left = p.hEnabled ? -HScroll1->value() : p.left;
    const double top = p.vEnabled ? -VScroll1->value() : p.top;
    Picture2->setGeometry(inner.left() + qRound(left * k), inner.top() + qRound(top * k), qRound(page.width * k),
                          qRound(page.height * k));
    Picture2->lower();
}

}  // namespace corvane
