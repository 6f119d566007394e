#pragma once
// Rules of the invoicing item settings window that need no window: what its
// boxes let in, the numbering explanation line, and which grid rows can be
// stored.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace corvane::receipts {

// What a box keeps of typed or pasted text.
QString digitsOnly(const QString& text);                       // 税控盘对应项目编号
QString rateInput(const QString& text);                        // digits and the first point
QString numberingInput(const QString& text, int maxLength);    // digits, no leading 0

// "【说明】导出文件的编号将从" + prefix + start in eight digits + "开始".
QString numberingNote(const QString& prefix, const QString& start);

// The grid's columns 4 to 6 of one row.
struct SettingCells {
    QString skdh, skxm, rate;
};
// The first row (from 1) that holds some but not all of the three, or whose
// rate does not read as a number; no value when every row may be stored.
std::optional<int> firstIncompleteRow(const std::vector<SettingCells>& rows);
// The save's refusal for that row: "第n行，数据不完整，请核对：" and what is
// missing or unreadable, named by the grid's headings.
std::optional<QString> incompleteRowRefusal(const std::vector<SettingCells>& rows);

// The chooser refuses a folder equal to one of the other two of the first
// three (the manual export folder, index 3, is not compared).
bool sameAsOtherFolder(int index, const QString& chosen, const QStringList& folders);

// The first name "新建文件夹", "新建文件夹1", ... not taken in `parent`.
QString newFolderName(const QString& parent);

}  // namespace corvane::receipts
