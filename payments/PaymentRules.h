#pragma once
// The arithmetic of a payment request that needs no window and no database:
// which instalments fall due, how a total is spread over them, the form
// number, the budget periods and balance, the picture reduction and the
// subject tree of the picker.

#include <QDate>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "app/Decimal.h"

namespace corvane::payments {

// ---- Instalments

// An instalment is chosen by the refresh when it falls due in the month of
// `today` or earlier (compared as "YYYYMM"; an instalment without a date
// reads as the empty text, which is never later) and something is outstanding.
bool fallsDue(const std::optional<QDate>& due, const QDate& today);
bool chosenByRefresh(const std::optional<QDate>& due, const QDate& today, Decimal outstanding);

// 分摊: `total` spread over the rows' outstanding amounts in grid order. A row
// with nothing outstanding is passed over; a row reached takes its whole
// outstanding amount while that is smaller than what remains, otherwise what
// remains, and is chosen; the walk stops when nothing remains. Rows not
// reached are not chosen and take 0.
struct Share {
    bool chosen = false;
    Decimal amount;
};
std::vector<Share> apportion(const std::vector<Decimal>& outstanding, Decimal total);

// ---- Reimbursement form number

// Year, "-", department, "-", the serial with at least six digits.
QString formNumber(int year, const QString& department, qint64 serial);

// ---- Budget periods

// "一月" … "十二月"; position 1 to 12.
const QStringList& monthNames();
// 1 to 12, or 0 for a text that names no month.
int monthIndex(const QString& name);
// Months 1 to k joined with "+" ("一月+二月+三月").
QString planExpression(int k);
// The same sum with a month left empty counting as 0.
QString planSumExpression(int k);
// Months 1 to k (the values of 预算调整详细.月份 that count).
QStringList monthList(int k);

// From January 1 of the year to the end of month k; `endExclusive` is the
// first day after it, which a date-time compares against safely.
struct BudgetPeriod {
    QDate start, end, endExclusive;
};
BudgetPeriod budgetPeriod(int year, int k);

// The five sources of a budget line's balance; a NULL counts as 0.
struct BudgetSources {
    Decimal 计划数, 调整数, 支出额, 收入数, 支出数;
};
// The balance by 数据来源; any other source (or none) gives 0.
Decimal budgetBalance(const QString& 数据来源, const BudgetSources& s);

// ---- Pictures

// Splits a colour 0x00BBGGRR into red, green and blue.
void huoRGB(int& red, int& green, int& blue, qint64 colour);
qint64 rgbColour(int red, int green, int blue);

// The work copy's limit and the icon's size in pixels (15 twips each).
inline constexpr int kWorkWidth = 1024;
inline constexpr int kWorkHeight = 768;
inline constexpr int kIconWidth = 75;
inline constexpr int kIconHeight = 56;

// The canvas a picture is reduced onto and the step of the reduction (0:
// the picture is copied unchanged at its own size).
struct Reduction {
    QSize canvas;
    int step = 0;
};
// A landscape picture wider than the limit goes to the limit's width, any
// other one higher than the limit to its height; only that side counts.
Reduction workReduction(QSize picture);
// The icon of a work copy: fitted into the icon's box when larger; a smaller
// copy keeps its size at the top-left corner of a full-size icon (step 0).
Reduction iconReduction(QSize work);

// Draws `source` onto a canvas of `canvas` pixels: output pixel (i, j) is the
// average of the diagonal samples (x + k, y + k), k < step, of the source
// block at (i × ratio, j × ratio), divided by the samples that lie inside the
// source and rounded half to even. With a whole ratio this is exactly the
// block (n·i, n·j); with any other ratio the whole picture still fills the canvas.
QImage reducePicture(const QImage& source, QSize canvas, int step);

// The part of a file name before its first "." (the whole name without one).
QString pictureBaseName(const QString& path);
// `base`, or base + "_2", "_3" … when a listed copy already has that name.
QString uniquePictureBase(const QString& base, const QStringList& listedBases);
// A document's 后缀: what follows the last "." of its file name, as typed;
// empty when the file name has none (a dotted folder name does not count).
QString documentSuffix(const QString& path);

// ---- Subject tree of the picker

struct SubjectRow {
    QString code, name;
    std::optional<QString> parent;  // NULL: a top-level subject
};
struct SubjectNode {
    QString key;        // code + " K"
    QString text;       // code + " " + name
    QString parentKey;  // empty for a top-level node
};
QString subjectKey(const QString& code);
// The tree of the allowed subjects in their order, each under its parent;
// missing ancestors are looked up (`lookup` gives a subject by code, or none)
// and added first. A subject already shown is not added again; a parent that
// cannot be found, or a loop in the parent chain, puts the subject at the top.
std::vector<SubjectNode> buildSubjectTree(const std::vector<SubjectRow>& allowed,
                                          const std::function<std::optional<SubjectRow>(const QString&)>& lookup);
// A node's text split back: the code before the first blank, the name after it.
QString subjectCodeOf(const QString& nodeText);
QString subjectNameOf(const QString& nodeText);

}  // namespace corvane::payments
