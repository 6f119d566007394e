#pragma once
// The print-file export: invoices for an outside bill-printing program are
// written into a copy of that program's template workbook (sheet "GDDSFP",
// row 1 its heading, columns A to M one detail line per row). These are the
// window-free parts: the batch record an opener hands over, the checks, the
// export file's name, the sheet's rows and the settings file.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "platform/Xlsx.h"

namespace corvane::receipts {

// One invoice of a batch. The window reads it and writes back the payer
// fields (its payer editor) and the bill fields (assignment and bill editor).
struct 发票打印记录 {
    QString 开票项目;        // code, blank, name
    QString 付款方类型;      // "1 单位" or "0 个人"
    QString 付款方手机号码;
    QString 付款方证件类型;  // digit, blank, name
    QString 付款方证件号码;
    QString 付款方名称;
    QString 入库单编号;
    QString 票据编号;
    QString 票据ID;
    QString 实际票据编号;
    QString 合计金额;
    QString 明细;            // lines "说明,金额,备注", each followed by "|"
    std::array<QString, 5> 其他;  // carried for the opener, never read here
};

// The batch: element n is invoice n, element 0 is not used.
using 发票打印数据 = std::vector<发票打印记录>;

// The sheet the outside program prints from, and the columns written.
inline const QString kPrintSheet = QStringLiteral("GDDSFP");
inline constexpr int kPrintFirstCol = 0;   // A
inline constexpr int kPrintLastCol = 12;   // M
// Mobile and document numbers stay text, so long numbers are not rounded.
inline const std::vector<int> kPrintTextColumns{4, 7};  // E, H
inline constexpr int kDetailRows = 5;

// The detail lines of a record: every piece before a "|" (the text after the
// last one is not a line).
QStringList detailLines(const QString& 明细);
// A line's item description, amount and remark; missing parts are empty,
// parts after the third are dropped.
std::array<QString, 3> detailParts(const QString& line);

// The single invoice as the window's form holds it.
struct SingleInvoice {
    QString 开票项目, 发票种类;       // Text3, Text4
    QString 付款方类型;               // "1 单位" / "0 个人"
    QString 手机, 名称, 证件类型, 证件号码;  // Text5, Text6, Text7, Text8
    QString 合计金额, 附注;           // Text14, Text13
    std::array<QString, 15> 明细;     // Text12(0..14)
};

// A row of the batch grid as the export and the check read it.
struct BatchGridRow {
    QString invoice;                 // column 0
    QString item, amount, remark;    // columns 2, 3, 4
};

// The first failing check's message, or nothing when the data may be exported.
std::optional<QString> checkSingleInvoice(const SingleInvoice& f);
std::optional<QString> checkBatch(const QString& 开票项目, const QString& 发票种类, const 发票打印数据& records,
                                  const std::vector<BatchGridRow>& grid);

// The export file's name (no folder). The payer name loses its blanks and
// line breaks, and each of \ / : * ? " < > | becomes "_", so the name stays a
// plain file name inside the export folder. `suffix` is the template's own
// extension without its dot.
QString singleExportFileName(const QString& payerName, const QString& suffix);
QString batchExportFileName(const QDateTime& now, const QString& suffix);

// Why an export must not write its copy at `target` (the path as found on
// disk): it is the template itself, or a file that no export of this program
// run made (another program's file, an old export it cannot tell from one).
// Empty when it may; an export that made a file there calls
// rememberExportFile so that a later export may replace it.
QString exportTargetRefusal(const QString& target, const QString& templatePath);
void rememberExportFile(const QString& path);

// A value as Excel stores an assigned text: a plain decimal number becomes a
// number, unless the column is text-formatted; anything else stays text.
xlsx::Cell sheetValue(const QString& text, bool textColumn);

// The sheet rows (from row 2, columns A to M).
std::vector<std::vector<xlsx::Cell>> singleSheetRows(const SingleInvoice& f);
std::vector<std::vector<xlsx::Cell>> batchSheetRows(const QString& 发票种类, const 发票打印数据& records,
                                                     const std::vector<BatchGridRow>& grid);

// Fills the copied template at path.
enum class PrintFileOutcome { Done, NotTemplate, Failed };
PrintFileOutcome fillPrintFile(const QString& path, std::vector<std::vector<xlsx::Cell>> rows,
                               QString* error = nullptr);

// ---- the settings file 票据模板文件.ini

inline const QString kExportSettingsFile = QStringLiteral("票据模板文件.ini");
inline constexpr int kExportSettingsValues = 8;
// Template path, export folder, 开票项目, 发票种类, 收款方名称, 收款方证件号码,
// 主管税务机关, 付款方证件 type, in this order; a shorter file gives fewer.
std::optional<QStringList> readExportSettings(const QString& path, QString* error = nullptr);
bool writeExportSettings(const QString& path, const QStringList& values, QString* error = nullptr);
// The browse buttons' filter as the old dialog took it, and as ours takes it.
inline const QString kExcelFilter = QStringLiteral("Excel 文件|*.xls;*.xlsx|所有文件|*.*|");
QString dialogFilter(const QString& oldFilter);
inline QString excelFileFilter() { return dialogFilter(kExcelFilter); }
// The folder of a file picked inside it, ending with the separator; "" for no file.
QString folderOfPickedFile(const QString& file);

}  // namespace corvane::receipts
