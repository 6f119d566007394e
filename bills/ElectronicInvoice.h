#pragma once
// The electronic-invoice exchange without a window: the request body that
// asks the service to issue an invoice, and what its reply says.

#include <QString>
#include <vector>

#include "receipts/ReceiptRules.h"

namespace corvane::receipts {

// What the request carries from the receipt window.
struct EInvoiceRequest {
    QString 税号, 付款人, 地址, 账号;  // Text5(1), Text5(0), Text5(2), Text5(3)
    QString 开票人, 收款人;             // Combo6, Combo7
    QString 合计, 合计收入, 合计税额;   // Text1(1), Text1(2), Text1(3) as shown
    QString 备注;                       // Text5(4), line breaks kept
    QString 手机, 邮箱;                 // Text1(4), Text1(5)
    std::vector<InvoiceLine> lines;      // every row below the heading
};

// The form body "nextContent=<GMF_NSRSBH>…</REQUEST_COMMON_FPKJ>". Element
// text has "&", "<" and ">" written as entities, and the form value has its
// "%", "&" and "+" percent-encoded, so a payer such as "A&B" reaches the
// service whole; a body without those characters is sent exactly as built.
QString eInvoiceRequestBody(const EInvoiceRequest& request);

// The issued invoice a reply names.
struct IssuedInvoice {
    QString code, number;    // FP_DM, FP_HM
    QString pdfUrl, spUrl;   // PDF_URL, SP_URL without "[" and "]"
};
// The text after the reply's last "<content>" up to the next "</content>"
// (the whole reply without "<content>", the rest without "</content>").
QString replyContent(const QString& reply);
// The invoice in the reply's Base64 content (GBK text, values possibly in
// CDATA sections); a later element of a name wins.
IssuedInvoice parseIssuedInvoice(const QString& reply);
// The service issued an invoice: the reply says "成功" and names both the
// invoice's code and number.
bool isIssued(const QString& reply, const IssuedInvoice& invoice);

}  // namespace corvane::receipts
