#pragma once
// Shared by the workbook layer's sources; not for windows.

#include <QByteArray>
#include <QString>
#include <map>
#include <span>
#include <vector>

#include "platform/Xlsx.h"

namespace corvane::xlsx {

class SheetWriter::Backend {
public:
    virtual ~Backend() = default;
    // Formats are registered in id order: the n-th call is FormatId n.
    virtual bool addFormat(const CellFormat& format, QString* error) = 0;
    virtual bool writeRow(int row, std::span<const Cell> cells, int firstCol, FormatId rowFormat, QString* error) = 0;
    virtual bool finish(const std::map<int, std::pair<double, bool>>& columns, const std::vector<Range>& merges,
                        QString* error) = 0;
};

// Adds or rewrites one sheet of an existing package.
bool writeSheetIntoPackage(const QString& path, const QString& sheetName, const SheetFill& fill, QString* error);

// Excel stores a column's width as whole pixels of the default font (7-pixel
// digits, 5 pixels of padding), in 1/256 characters.
double storedColumnWidth(double characters);
double characterWidth(double stored);

// Text for XML character data, with Excel's _xHHHH_ escape for control characters.
void appendEscaped(QByteArray& out, const QString& text);
QString unescapeExcel(const QString& text);

// Codes of the built-in number formats that are the same in every locale.
int builtInNumberFormatId(const QString& code);
QString builtInNumberFormatCode(int id);

const char* horizontalName(HAlign a);  // nullptr for General
const char* verticalName(VAlign a);    // nullptr for Bottom

bool fail(QString* error, const QString& text);

// Moves a finished temporary file over the target in one step.
bool replaceFile(const QString& temporary, const QString& target, QString* error);
// A free temporary name beside the target, so the final rename stays on one file system.
QString temporaryPathBeside(const QString& target);

}  // namespace corvane::xlsx
