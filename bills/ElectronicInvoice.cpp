#include "bills/ElectronicInvoice.h"

#include "platform/Http.h"

namespace corvane::receipts {

namespace {

QString withoutLineBreaks(QString text) { return text.remove(QStringLiteral("\r\n")); }

// Element text that cannot end or open an element.
QString xmlText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('&')) out += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<')) out += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>')) out += QStringLiteral("&gt;");
        else out += c;
    }
    return out;
}

// A form value the service decodes back to `text`: only the characters form
// decoding would change or cut are encoded.
QString formValue(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('%')) out += QStringLiteral("%25");
        else if (c == QLatin1Char('&')) out += QStringLiteral("%26");
        else if (c == QLatin1Char('+')) out += QStringLiteral("%2B");
        else out += c;
    }
    return out;
}

QString element(const QString& name, const QString& value)
{
    return QLatin1Char('<') + name + QLatin1Char('>') + xmlText(value) + QStringLiteral("</") + name + QLatin1Char('>');
}

// A cell's number rounded to `places`; an empty cell stays empty.
QString formatted(const QString& cell, int places) { return cell.isEmpty() ? QString() : LineNumber::of(cell).fixed(places); }

// What is left of a CDATA section around a code once "<![CDATA" is gone.
QString withoutCdataRest(const QString& value)
{
    if (value.startsWith(QLatin1Char('[')) && value.endsWith(QStringLiteral("]]")) && value.size() >= 3)
        return value.mid(1, value.size() - 3);
    return value;
}

QString withoutBrackets(QString value) { return value.remove(QLatin1Char('[')).remove(QLatin1Char(']')); }

}  // namespace

QString eInvoiceRequestBody(const EInvoiceRequest& r)
{
    QString x;
    x += element(QStringLiteral("GMF_NSRSBH"), withoutLineBreaks(r.税号));
    x += element(QStringLiteral("GMF_MC"), withoutLineBreaks(r.付款人));
    x += element(QStringLiteral("GMF_DZDH"), withoutLineBreaks(r.地址));
    x += element(QStringLiteral("GMF_YHZH"), withoutLineBreaks(r.账号));
    x += element(QStringLiteral("KPR"), r.开票人);
    x += element(QStringLiteral("SKR"), r.收款人);
    x += element(QStringLiteral("FHR"), r.收款人) + QLatin1Char(' ');
    x += QStringLiteral("<KPLX>0</KPLX><YFP_DM></YFP_DM><YFP_HM></YFP_HM>");
    x += element(QStringLiteral("JSHJ"), r.合计);
    x += element(QStringLiteral("HJJE"), r.合计收入);
    x += element(QStringLiteral("HJSE"), r.合计税额);
    x += QStringLiteral("<KCE></KCE>");
    x += element(QStringLiteral("BZ"), r.备注);
    x += element(QStringLiteral("GMF_SJH"), r.手机);
    x += element(QStringLiteral("GMF_DZYX"), r.邮箱);
    x += QStringLiteral("<FPT_ZH></FPT_ZH><HYLX>0</HYLX>");
    for (int i = 1; i <= 10; ++i) x += QStringLiteral("<BY%1></BY%1>").arg(i);
    x += QStringLiteral("<COMMON_FPKJ_XMXXS class='COMMON_FPKJ_XMXX' size='%1'>").arg(r.lines.size());
    for (const InvoiceLine& l : r.lines) {
        x += QStringLiteral("<COMMON_FPKJ_XMXX><FPHXZ>0</FPHXZ>");
        x += element(QStringLiteral("SPBM"), l.c[col::税控编号]);
        x += QStringLiteral("<ZXBM></ZXBM><YHZCBS></YHZCBS><LSLBS></LSLBS><ZZSTSGL></ZZSTSGL>");
        x += element(QStringLiteral("XMMC"), l.c[col::税控名称]);
        x += element(QStringLiteral("GGXH"), l.c[col::摘要]);
        x += element(QStringLiteral("DW"), l.c[col::单位]);
        x += element(QStringLiteral("XMSL"), l.c[col::数量]);
        x += element(QStringLiteral("XMDJ"), formatted(l.c[col::不含税单价], 6));
        x += element(QStringLiteral("XMJE"), formatted(l.c[col::不含税金额], 2));
        x += element(QStringLiteral("SL"), formatted(l.c[col::税率], 2));
        x += element(QStringLiteral("SE"), l.c[col::税额]);
        for (int i = 1; i <= 6; ++i) x += QStringLiteral("<BY%1></BY%1>").arg(i);
        x += QStringLiteral("</COMMON_FPKJ_XMXX>");
    }
    x += QStringLiteral("</COMMON_FPKJ_XMXXS></REQUEST_COMMON_FPKJ>");
    return QStringLiteral("nextContent=") + formValue(x);
}

QString replyContent(const QString& reply)
{
    const QString open = QStringLiteral("<content>"), close = QStringLiteral("</content>");
    const qsizetype at = reply.lastIndexOf(open);
    if (at < 0) return reply;
    const qsizetype from = at + open.size();
    const qsizetype end = reply.indexOf(close, from);
    return end < 0 ? reply.mid(from) : reply.mid(from, end - from);
}

IssuedInvoice parseIssuedInvoice(const QString& reply)
{
    QString text = BytesToBstr(Base64Decode(replyContent(reply)));
    text.remove(QStringLiteral("<![CDATA"));
    IssuedInvoice out;
    const QStringList pieces = text.split(QLatin1Char('<'));
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        const QString& piece = pieces[i];
        const qsizetype gt = piece.indexOf(QLatin1Char('>'));
        const QString name = gt < 0 ? piece : piece.left(gt);
        QString value;
        if (gt >= 0) {
            const qsizetype next = piece.indexOf(QLatin1Char('>'), gt + 1);
            value = next < 0 ? piece.mid(gt + 1) : piece.mid(gt + 1, next - gt - 1);
        }
        if (name == QLatin1String("FP_DM")) out.code = withoutCdataRest(value);
        else if (name == QLatin1String("FP_HM")) out.number = withoutCdataRest(value);
        else if (name == QLatin1String("PDF_URL")) out.pdfUrl = withoutBrackets(value);
        else if (name == QLatin1String("SP_URL")) out.spUrl = withoutBrackets(value);
    }
    return out;
}

bool isIssued(const QString& reply, const IssuedInvoice& invoice)
{
    return reply.contains(QStringLiteral("成功")) && !invoice.code.isEmpty() && !invoice.number.isEmpty();
}

}  // namespace corvane::receipts
