// The payment window's history panels: the contract's payments, the
// reimbursement form behind a payment with its approval trail and return
// note, and the hand-over of the form to the voucher window.

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "app/AmountInWords.h"
#include "app/LoginContext.h"
#include "payments/PaymentHistory.h"
#include "payments/PrintGrid.h"
#include "payments/frm合同付款处理.h"
#include "payments/frm财务凭证打印.h"
#include "platform/Services.h"
#include "platform/TextMeasure.h"
#include "platform/Widgets.h"

namespace corvane {

using namespace payments;

namespace {

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

const QString kListFormat = QStringLiteral("序") + blanks(1) + QStringLiteral("|<付款日期") + blanks(6) +
                            QStringLiteral("|>付款金额") + blanks(4) + QStringLiteral("|<报销单编号") + blanks(15) +
                            QStringLiteral("|<审批情况") + blanks(2) + QStringLiteral("|<支付确认单编号") + blanks(11) +
                            QStringLiteral("|<支付日期") + blanks(6) + QStringLiteral("|^查看");
const QString kLinesFormat = QStringLiteral("序") + blanks(2) + QStringLiteral("|<摘要") + blanks(45) +
                             QStringLiteral("|<科目代码") + blanks(9) + QStringLiteral("|<科目名称") + blanks(26) +
                             QStringLiteral("|>金额") + blanks(14) + QStringLiteral("|^附件") + blanks(1);
const QString kTrailFormat = QStringLiteral("序") + blanks(2) + QStringLiteral("|<部门") + blanks(49) +
                             QStringLiteral("|<审批人") + blanks(4) + QStringLiteral("|<审批意见") + blanks(80) +
                             QStringLiteral("|<审批日期") + blanks(10) + QStringLiteral("|^同意") + blanks(1);
constexpr int kViewCol = 7, kOpinionCol = 3;

// The paper clip of a detail line (Image4), drawn in the middle of a picture as
// large as the cell, so that it sits centred in it: the grid puts a picture at
// the cell's left edge. A wire of two nested loops, so it is not read as a "0".
QPixmap paperClip(QSize cell)
{
    QPixmap p(cell.expandedTo(QSize(12, 18)));
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(90, 90, 90), 1.2));
    g.translate((p.width() - 10) / 2.0, (p.height() - 16) / 2.0);
    QPainterPath wire;
    wire.moveTo(6.5, 5);
    wire.lineTo(6.5, 12.5);
    wire.arcTo(QRectF(2.5, 10.5, 4, 4), 0, -180);
    wire.lineTo(2.5, 3.5);
    wire.arcTo(QRectF(2.5, 0.8, 6, 5.4), 180, -180);
    wire.lineTo(8.5, 12.8);
    wire.arcTo(QRectF(0.6, 8.8, 7.9, 6.4), 0, -180);
    wire.lineTo(0.6, 5.5);
    g.drawPath(wire);
    return p;
}

}  // namespace

void frm合同付款处理::connectHistory()
{
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(MSFlexGrid2, &FlexGrid::Click, this, [this] { MSFlexGrid2_Click(); });
    connect(MSFlexGrid2, &FlexGrid::DblClick, this, [this] { MSFlexGrid2_DblClick(); });
    MSFlexGrid2->setFormatString(kListFormat);
    MSFlexGrid5->setFormatString(kLinesFormat);
    MSFlexGrid3->setFormatString(kTrailFormat);
    // The heading 查看 is narrower than the 点击查看 of its cells, which must show whole.
    MSFlexGrid2->setColWidth(kViewCol, qMax(MSFlexGrid2->ColWidth(kViewCol),
                                            int(TextWidthTwips(MSFlexGrid2->font(), QStringLiteral("点击查看"))) + 240));
    for (FlexGrid* g : {MSFlexGrid2, MSFlexGrid5, MSFlexGrid3}) {
        g->setRows(1);
        g->setFixedCols(0);
        for (int c = 0; c < g->Cols(); ++c) g->setFixedAlignment(c, flexAlignCenterCenter);
    }
}

// ---------------------------------------------------------------- payment list

void frm合同付款处理::Command3_Click()
{
    Label1[26]->setText(Text3[0]->text() + QLatin1Char(' ') + Text3[1]->text());
    const auto lines = paymentHistory(Text3[0]->text(), Check1->isChecked());
    MSFlexGrid2->setRows(1);
    if (!lines) {
        ShowStandardError(lines.error().number, lines.error().description);
        return;
    }
    Decimal paid, confirmed;
    for (const PaymentLine& l : *lines) {
        const int r = MSFlexGrid2->Rows();
        MSFlexGrid2->setRows(r + 1);
        MSFlexGrid2->setTextMatrix(r, 0, QString::number(r));
        MSFlexGrid2->setTextMatrix(r, 1, l.付款日期);
        MSFlexGrid2->setTextMatrix(r, 2, l.付款金额.fixed(2));
        paid += l.付款金额;
        MSFlexGrid2->setTextMatrix(r, 3, l.凭证编号);
        MSFlexGrid2->setTextMatrix(r, 4, l.state);
        if (l.state == QStringLiteral("支付完成")) {
            MSFlexGrid2->setTextMatrix(r, 5, QString(l.支付确认单编号).remove(QStringLiteral("\r\n")));
            MSFlexGrid2->setTextMatrix(r, 6, l.支付日期);
            confirmed += l.付款金额;
        }
        MSFlexGrid2->setTextMatrix(r, kViewCol, QStringLiteral("点击查看"));
        MSFlexGrid2->setRow(r);
        MSFlexGrid2->setCol(kViewCol);
        MSFlexGrid2->setCellForeColor(QColor(0, 0, 255));
        MSFlexGrid2->setCellFontItalic(true);  // the link look
    }
    Label1[15]->setText(QStringLiteral("合计支付： ") + paid.fixed(2) + QStringLiteral("  确认支付： ") + confirmed.fixed(2));
    Picture1->show();
    Picture1->raise();
}

void frm合同付款处理::Command6_Click() { Picture1->hide(); }

void frm合同付款处理::Command7_Click()
{
    PrintGrid(*MSFlexGrid2, PrintSurface::vbTwips, QStringLiteral("合同付款清单"),
              QStringLiteral("合同编号") + Text3[0]->text() + QStringLiteral(" 截至日期") +
                  Today().toString(QStringLiteral("yyyy-MM-dd")),
              true, 0);
}

void frm合同付款处理::MSFlexGrid2_Click()
{
    if (MSFlexGrid2->Rows() <= 1) return;
    if (MSFlexGrid2->Col() == kViewCol) MSFlexGrid2_DblClick();
    const int row = MSFlexGrid2->Row();
    MSFlexGrid2->setCol(0);
    MSFlexGrid2->setRowSel(row);
    MSFlexGrid2->setColSel(MSFlexGrid2->Cols() - 1);
}

void frm合同付款处理::MSFlexGrid2_DblClick()
{
    if (MSFlexGrid2->Rows() <= 1) return;
    报销单显示(MSFlexGrid2->TextMatrix(MSFlexGrid2->Row(), 3));
}

// ---------------------------------------------------------------- form view

void frm合同付款处理::报销单显示(const QString& number)
{
    const auto form = formView(number);
    Picture2_Tag.clear();
    Label3[2]->hide();
    if (!form) {
        ShowStandardError(form.error().number, form.error().description);
        return;
    }
    if (!*form) return;
    const FormView& f = **form;
    Text11[0]->setText(f.报销单编号);
    Text11[1]->setText(f.报销费用类别);
    Text11[2]->setText(f.报销类型);
    Text11[3]->setText(f.付款方式);
    Text11[4]->setText(f.报销日期);
    Text11[5]->setText(f.制单人);
    刷新报销单详细(f.id);
    刷新审批情况(f.id);
    Label3[1]->setEnabled(false);
    if (f.approvalDated && f.approved && f.returnDated) {
        Text14->setPlainText(f.出纳退回原因);
        Label3[1]->setEnabled(true);
    }
    Label3[2]->show();
    Picture2_Tag = QString::number(f.id);
    Picture2->show();
    Picture2->raise();
}

void frm合同付款处理::刷新报销单详细(qint64 formId)
{
    const auto lines = formLines(formId);
    MSFlexGrid5->setRows(1);
    if (!lines) {
        ShowStandardError(lines.error().number, lines.error().description);
        return;
    }
    MSFlexGrid5->hide();
    const QPixmap clip = paperClip(QSize(px(MSFlexGrid5->ColWidth(5)) - 2, 18));
    Decimal total;
    for (const FormLine& l : *lines) {
        const int r = MSFlexGrid5->Rows();
        MSFlexGrid5->setRows(r + 1);
        MSFlexGrid5->setTextMatrix(r, 0, QString::number(r));
        MSFlexGrid5->setTextMatrix(r, 1, l.摘要);
        MSFlexGrid5->setTextMatrix(r, 2, l.科目代号);
        MSFlexGrid5->setTextMatrix(r, 3, l.科目名称);
        MSFlexGrid5->setTextMatrix(r, 4, l.金额.fixed(2));
        total += l.金额;
        MSFlexGrid5->setRow(r);
        MSFlexGrid5->setCol(5);
        MSFlexGrid5->setCellPicture(clip);
    }
    MSFlexGrid5->show();
    Label1[54]->setText(QStringLiteral("￥") + total.fixed(2));
    Label1[53]->setText(QStringLiteral("总计：人民币（") + 金额大写2(total.fixed(2)) + QStringLiteral("）"));
}

void frm合同付款处理::刷新审批情况(qint64 formId)
{
    MSFlexGrid3->hide();
    MSFlexGrid3->setRows(1);
    const auto trail = approvalTrail(formId);
    if (!trail) {
        MsgBox(QStringLiteral("错误号：") + QString::number(trail.error().number) + QStringLiteral("\r\n错误描述：") +
                   trail.error().description,
               vbInformation, QStringLiteral("提示"));
        return;
    }
    const QFont font = MSFlexGrid3->font();
    const double lineHeight = TextHeightTwips(font, QStringLiteral("如"));
    const double colWidth = MSFlexGrid3->ColWidth(kOpinionCol);
    for (const TrailRow& t : *trail) {
        const int r = MSFlexGrid3->Rows();
        MSFlexGrid3->setRows(r + 1);
        MSFlexGrid3->setTextMatrix(r, 0, QString::number(r));
        MSFlexGrid3->setTextMatrix(r, 1, t.部门);
        MSFlexGrid3->setTextMatrix(r, 2, t.审批人);
        MSFlexGrid3->setTextMatrix(r, 3, t.审批意见);
        MSFlexGrid3->setTextMatrix(r, 4, t.审批日期);
        MSFlexGrid3->setTextMatrix(r, 5, t.同意);
        // A long or several-line opinion gets the row height its lines need.
        const QStringList parts = t.审批意见.isEmpty() ? QStringList() : t.审批意见.split(QStringLiteral("\r\n"));
        qint64 n = parts.size();
        for (const QString& part : parts) {
            const double w = TextWidthTwips(font, part) + 90;
            if (w > colWidth && colWidth > 0) n += qint64(std::nearbyint(w)) / qint64(colWidth);
        }
        if (n * lineHeight > MSFlexGrid3->RowHeight(r))
            MSFlexGrid3->setRowHeight(r, int(std::nearbyint(n * lineHeight)));
    }
    MSFlexGrid3->show();
}

void frm合同付款处理::Label3_Click(int index)
{
    switch (index) {
    case 0:
        Picture7->show();
        Picture7->raise();
        break;
    case 1:
        Picture5->show();
        Picture5->raise();
        break;
    case 2:
        凭证打印();
        break;
    case 3:
        Picture2->hide();
        break;
    case 4:
        Picture5->hide();
        break;
    case 5:
        Picture7->hide();
        break;
    default:
        break;
    }
}

void frm合同付款处理::凭证打印()
{
    auto* w = Forms::get<frm财务凭证打印>();
    w->Tag = QStringLiteral("报销单");
    w->Command1_Tag.clear();
    w->Command4_1_Tag = Picture2_Tag;
    w->ShowModal();
    Forms::unload<frm财务凭证打印>();
}

}  // namespace corvane
