#pragma once
// The files through which the VAT invoice window drives the outside
// tax-control invoicing program: the interface file it writes, the result
// line it reads back, and the small settings files (<管理处>.Cfg,
// 商品编码版本号.BBH, ZPDYPJLX.INI) read as comma-delimited fields. All of
// them are GBK with CR LF line ends.

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace corvane::receipts {

// ---- Small settings files

// The first value of each line (platform/TextFile's comma-delimited
// reader); no value when the file does not exist, and no value with `error`
// naming the file when it cannot be read or is too large for such a file.
std::optional<QStringList> readSettingFile(const QString& path, QString* error = nullptr);
// Writes one value per line, quoted as needed to come back whole, replacing
// the file. False (error set) when it could not be written or a value cannot
// be held in GBK.
bool writeSettingFile(const QString& path, const QStringList& values, QString* error = nullptr);

// ---- Interface file

// 编号字 followed by 起始编号 in eight digits (more digits kept whole).
QString exportBaseName(qint64 prefix, qint64 start);

struct VatLine {
    QString name;      // 项目: the tax-control item name
    QString spec;      // 规格型号
    QString unit;
    QString quantity;  // as the grid holds it
    QString price;     // net unit price
    QString amount;    // net amount
    QString rate;      // as the grid holds it (0.06)
    QString code;      // tax goods code
};

struct VatInvoice {
    QString number;                // the base name
    std::array<QString, 5> buyer;  // 名称, 纳税人税别号, 地址、电话, 开户行及账号, 备注
    QString issuer;                // 当前姓名, sent as Fhr and Skr
    QString version;               // 商品编码版本号
    std::vector<VatLine> lines;
};

struct InterfaceFile {
    QStringList lines;  // without line ends
    QString error;      // why it cannot be written; lines are empty then
};
// The interface file's lines. Values are written as XML text ("&", "<" and
// ">" as entities) so that the file stays well-formed; a value GBK cannot
// hold refuses the whole file, naming its element (and line number).
InterfaceFile buildInterfaceFile(const VatInvoice& invoice);

// ---- Result file

// The result file's name for an interface file's base name.
QString resultFileName(const QString& baseName);

struct ExportResult {
    bool issued = false;
    QString invoiceNumber;
};
// The first line of a result file: the third "："-separated part, split at
// "，", gives the outcome (first item, a whole number, not zero when issued)
// and the invoice number (third item, digits). A line too short, or anything
// but such numbers where it is read ("nan", "inf", "1.5"), is a failure.
ExportResult parseResultLine(const QString& firstLine);

// ---- Folders

// Why a folder must not be emptied (a drive root, the program folder, the
// home folder, or a path that is empty or no folder); empty when it may be.
QString folderNotClearable(const QString& folder);
// Deletes the files of a folder, never its subfolders. False (error set)
// when one could not be deleted.
bool deleteFilesIn(const QString& folder, QString* error = nullptr);
// The first file of a folder whose extension is ".TXT" in any case; empty when none.
QString firstTxtFile(const QString& folder);

// A result file may be read once its first line is complete (ends with CR
// LF) or its size has held for two seconds: the tax-control program may
// still be writing it.
class ResultFileWatch {
public:
    // Looks at the file at `ms` (a monotonic time); true when it may be read.
    bool ready(const QString& path, qint64 ms);

private:
    qint64 m_size = -1;
    qint64 m_since = 0;
};

// ---- The poll's clock

// A monotonic clock in milliseconds with a pause, replaceable so tests can
// run the 90-second wait at once.
class PollClock {
public:
    virtual ~PollClock() = default;
    virtual qint64 elapsedMs() = 0;
    // Waits about `ms`, keeping the window painted but taking no input.
    virtual void pause(int ms) = 0;
};
PollClock& pollClock();
// nullptr restores the real clock.
void setPollClock(std::unique_ptr<PollClock> clock);

}  // namespace corvane::receipts
