#include "payments/frm财务凭证打印.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cmath>

#include "app/LoginContext.h"
#include "payments/VoucherLayout.h"
#include "payments/VoucherStore.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

namespace corvane {

using namespace payments;

namespace {
// The canvas holds a whole voucher (its trail and signatures below the table
// need more than the box's 119 mm in the stand-in font); it is shown scaled
// into the box.
constexpr double kPreviewWidthMm = 10829 * 25.4 / 1440;
constexpr double kPreviewHeightMm = 140;
const QString kModeForm = QStringLiteral("报销单");
const QString kModeList = QStringLiteral("支付确认清单");
const QString kModeConfirm = QStringLiteral("报销支付确认");

// The description alone, in a plain box.
void showError(const QString& description) { MsgBox(description); }

int wholeNumber(const QString& s) { return int(std::lround(s.toDouble())); }
// The voucher of a form; a name that cannot be read is reported and left
// empty, and the voucher goes on.
DbResult<VoucherData> voucherReportingNames(qint64 formId)
{
    std::vector<DbError> unreadNames;
    auto data = voucherData(formId, unreadNames);
    for (const DbError& e : unreadNames) reportDbError(e);
    return data;
}

}  // namespace

frm财务凭证打印::frm财务凭证打印()
{
    buildLayout();
    m_canvas = PainterSurface::canvas(kPreviewWidthMm, kPreviewHeightMm);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    for (int i = 0; i < 4; ++i)
        connect(Command4[size_t(i)], &QPushButton::clicked, this, [this, i] { Command4_Click(i); });
    showPreview();
}

frm财务凭证打印::~frm财务凭证打印() = default;

void frm财务凭证打印::buildLayout()
{
    setObjectName(QStringLiteral("frm财务凭证打印"));
    setCaption(QStringLiteral("财务凭证打印"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(11205), px(7860));
    useLayoutFace(this);
    Picture1 = named(new QLabel(this), QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::Box);
    // The page is narrower than the box once scaled to its height: centred,
    // it shows as a page with the same margin on either side.
    Picture1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    place(Picture1, 210, 240, 10829, 6735);
    QFont buttons(QStringLiteral("微软雅黑"));
    buttons.setPointSizeF(9);
    const struct {
        int index, left;
        const char16_t* caption;
    } pages[] = {{2, 360, u"|<"}, {0, 750, u"<"}, {1, 1140, u">"}, {3, 1530, u">|"}};
    for (const auto& p : pages) {
        auto* b = button(this, QStringLiteral("Command4_%1").arg(p.index), QString::fromUtf16(p.caption));
        b->setFont(buttons);
        place(b, p.left, 7140, 375, 345);
        Command4[size_t(p.index)] = b;
    }
    Label1 = named(new QLabel(QStringLiteral("Label1"), this), QStringLiteral("Label1"));
    place(Label1, 2460, 7200, 3600, 285);
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("打印设置"));
    place(Command2, 6240, 7140, 1035, 345);
    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("打印"));
    place(Command1, 7290, 7140, 1065, 345);
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("取消"));
    place(Command3, 8490, 7140, 1035, 345);
    for (QPushButton* b : {Command1, Command2, Command3}) b->setFont(buttons);
    // A fixed dialog in the middle of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void frm财务凭证打印::showPreview()
{
    const QSize box = Picture1->contentsRect().size();
    Picture1->setPixmap(
        QPixmap::fromImage(m_canvas->image().scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void frm财务凭证打印::Form_Activate()
{
    if (m_loaded) return;
    m_loaded = true;
    forms.clear();
    if (Tag == kModeConfirm) {
        FlexGrid* grid = Command1_Tag == QStringLiteral("现金")       ? confirmCashGrid
                         : Command1_Tag == QStringLiteral("网上银行") ? confirmBankGrid
                                                                       : nullptr;
        if (!grid) return;
        for (int r = 1; r < grid->Rows(); ++r) {
            grid->setRow(r);
            grid->setCol(2);
            if (!grid->CellPicture().isNull()) forms.push_back(std::llround(grid->TextMatrix(r, grid->Cols() - 1).toDouble()));
        }
        if (forms.empty()) return;
        Label1->setText(QStringLiteral("第 1 张 共 %1 张").arg(forms.size()));
        Command4_0_Tag = QStringLiteral("1");
        Label1_Tag = QString::number(forms.size());
        ShowCertificate();
        return;
    }
    if (Tag == kModeForm || Tag == kModeList) {
        Command4_0_Tag = QStringLiteral("1");
        for (QPushButton* b : Command4) b->setEnabled(false);
        Label1_Tag = QStringLiteral("1");
        Label1->hide();
        forms.push_back(std::llround(Command4_1_Tag.toDouble()));
        ShowCertificate();
    }
}

void frm财务凭证打印::Command4_Click(int index)
{
    const int current = wholeNumber(Command4_0_Tag), count = wholeNumber(Label1_Tag);
    switch (index) {
    case 0:
        if (current > 1) Command4_0_Tag = QString::number(current - 1);
        break;
    case 1:
        if (count > current) Command4_0_Tag = QString::number(current + 1);
        break;
    case 2:
        Command4_0_Tag = QStringLiteral("1");
        break;
    case 3:
        Command4_0_Tag = Label1_Tag;
        break;
    default:
        return;
    }
    Label1->setText(QStringLiteral("第 ") + Command4_0_Tag + QStringLiteral(" 张 共 ") + Label1_Tag +
                    QStringLiteral(" 张"));
    ShowCertificate();
}

void frm财务凭证打印::ShowCertificate()
{
    m_canvas->Cls();
    const int p = wholeNumber(Command4_0_Tag);
    if (p < 1 || p > int(forms.size())) {
        showPreview();
        return;
    }
    auto data = voucherReportingNames(forms[size_t(p - 1)]);
    if (!data) {
        showPreview();
        showError(data.error().description);
        return;
    }
    data->公司名称 = 公司名称;
    drawVoucher(*m_canvas, layoutVoucher(*data, measureOn(*m_canvas)));
    showPreview();
}

bool frm财务凭证打印::PrintCertificate(PrintSurface& printer, int p, QString* error)
{
    if (p < 1 || p > int(forms.size())) return true;
    auto data = voucherReportingNames(forms[size_t(p - 1)]);
    if (!data) {
        *error = data.error().description;
        return false;
    }
    data->公司名称 = 公司名称;
    printer.setScaleMode(PrintSurface::vbMillimeters);
    drawVoucher(printer, layoutVoucher(*data, measureOn(printer), printer.ScaleHeight()));
    if (!printer.lastError().isEmpty()) {
        *error = printer.lastError();
        return false;
    }
    return true;
}

void frm财务凭证打印::Command1_Click()
{
    const int n = wholeNumber(Label1_Tag);
    if (n < 1 || forms.empty()) return;
    const auto job = Printing::startJob(QStringLiteral("财务凭证"));
    std::vector<qint64> printed;
    QString error;
    for (int p = 1; p <= n && p <= int(forms.size()); ++p) {
        if (p > 1) job->NewPage();
        if (!PrintCertificate(*job, p, &error)) {
            // A job that failed half-way is abandoned and stamps nothing.
            job->KillDoc();
            showError(error);
            return;
        }
        printed.push_back(forms[size_t(p - 1)]);
    }
    if (!job->EndDoc()) {
        showError(job->lastError());
        return;
    }
    DbError dbError;
    switch (stampPrinted(printed, Today(), &dbError)) {
    case StampOutcome::Done:
        break;
    case StampOutcome::NoRow:
        showError(QStringLiteral("报销单已不存在，凭证打印日期未能记录"));
        break;
    case StampOutcome::Failed:
        showError(dbError.description);
        break;
    }
}

void frm财务凭证打印::Command2_Click() { Printing::setup(); }

void frm财务凭证打印::Command3_Click() { Unload(); }

}  // namespace corvane
