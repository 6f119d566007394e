// Reading workbooks back: what the export windows wrote, and what a check of
// someone else's workbook needs (names, values, formats, merges, widths).

#include <QDir>
#include <QXmlStreamReader>

#include "platform/XlsxInternal.h"
#include "platform/Zip.h"

namespace corvane::xlsx {
namespace {

const QString kRelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

QString resolve(const QString& fromPart, const QString& target)
{
    if (target.startsWith(u'/'))
        return QDir::cleanPath(target.mid(1));
    const int slash = int(fromPart.lastIndexOf(u'/'));
    return QDir::cleanPath(fromPart.left(slash + 1) + target);
}

std::map<QString, QString> relationshipTargets(const QString& xml, const QString& fromPart, QString* officeDocument = nullptr)
{
    std::map<QString, QString> out;
    QXmlStreamReader r(xml);
    while (!r.atEnd())
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == u"Relationship") {
            const auto a = r.attributes();
            const QString target = resolve(fromPart, a.value(QLatin1String("Target")).toString());
            out[a.value(QLatin1String("Id")).toString()] = target;
            if (officeDocument && a.value(QLatin1String("Type")).endsWith(u"/officeDocument"))
                *officeDocument = target;
        }
    return out;
}

bool parseCellRef(QStringView ref, int* row, int* col)
{
    int c = 0, r = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i)
        c = c * 26 + (ref[i].toUpper().unicode() - u'A' + 1);
    if (i == 0 || i == ref.size())
        return false;
    for (; i < ref.size(); ++i) {
        if (!ref[i].isDigit())
            return false;
        r = r * 10 + ref[i].digitValue();
    }
    *row = r - 1;
    *col = c - 1;
    return r > 0;
}

bool isOn(const QXmlStreamAttributes& a)
{
    const auto v = a.value(QLatin1String("val"));
    return v.isEmpty() || v == u"1" || v == u"true";
}

HAlign horizontalFrom(QStringView v)
{
    for (auto a : {HAlign::Left, HAlign::Center, HAlign::Right, HAlign::Fill, HAlign::Justify, HAlign::CenterAcross,
                   HAlign::Distributed})
        if (v == QLatin1String(horizontalName(a)))
            return a;
    return HAlign::General;
}

VAlign verticalFrom(QStringView v)
{
    for (auto a : {VAlign::Top, VAlign::Center, VAlign::Justify, VAlign::Distributed})
        if (v == QLatin1String(verticalName(a)))
            return a;
    return VAlign::Bottom;
}

// Text of the <t> elements under the current element, leaving out phonetic runs.
QString collectText(QXmlStreamReader& r)
{
    QString text;
    int depth = 1;
    bool inPhonetic = false;
    while (depth > 0 && !r.atEnd()) {
        const auto t = r.readNext();
        if (t == QXmlStreamReader::StartElement) {
            ++depth;
            if (r.name() == u"rPh")
                inPhonetic = true;
            else if (r.name() == u"t" && !inPhonetic)
                text += r.readElementText(), --depth;
        } else if (t == QXmlStreamReader::EndElement) {
            --depth;
            if (r.name() == u"rPh")
                inPhonetic = false;
        }
    }
    return unescapeExcel(text);
}

}  // namespace

struct WorkbookReader::Data {
    zip::Reader zip;
    QStringList names;
    std::map<QString, QString> sheetParts;  // name -> part
    std::vector<QString> sharedStrings;
    std::vector<CellFormat> xfs;

    bool part(const QString& name, QString* text, QString* error)
    {
        const int i = zip.indexOf(name.toUtf8());
        if (i < 0)
            return fail(error, QStringLiteral("工作簿缺少部件 %1").arg(name));
        QByteArray bytes;
        if (!zip.read(i, &bytes, error))
            return false;
        *text = QString::fromUtf8(bytes);
        return true;
    }

    void parseStyles(const QString& xml)
    {
        std::map<int, QString> codes;
        struct Font {
            double size = 11;
            bool bold = false, italic = false;
        };
        std::vector<Font> fonts;
        std::vector<std::optional<QRgb>> fills;
        std::vector<bool> borders;
        QXmlStreamReader r(xml);
        QString section;
        int bordersThin = 0;
        while (!r.atEnd()) {
            const auto t = r.readNext();
            if (t == QXmlStreamReader::EndElement) {
                if (r.name() == u"border" && section == u"borders")
                    borders.back() = bordersThin == 4;
                if (r.name() == section)
                    section.clear();
                continue;
            }
            if (t != QXmlStreamReader::StartElement)
                continue;
            const auto n = r.name();
            const auto a = r.attributes();
            if (n == u"numFmts" || n == u"fonts" || n == u"fills" || n == u"borders" || n == u"cellXfs"
                || n == u"cellStyleXfs" || n == u"dxfs")
                section = n.toString();
            else if (section == u"numFmts" && n == u"numFmt")
                codes[a.value(QLatin1String("numFmtId")).toInt()] = a.value(QLatin1String("formatCode")).toString();
            else if (section == u"fonts" && n == u"font")
                fonts.emplace_back();
            else if (section == u"fonts" && n == u"sz")
                fonts.back().size = a.value(QLatin1String("val")).toDouble();
            else if (section == u"fonts" && n == u"b")
                fonts.back().bold = isOn(a);
            else if (section == u"fonts" && n == u"i")
                fonts.back().italic = isOn(a);
            else if (section == u"fills" && n == u"fill")
                fills.emplace_back();
            else if (section == u"fills" && n == u"fgColor" && a.hasAttribute(QLatin1String("rgb")))
                fills.back() = QRgb(0xff000000u | (a.value(QLatin1String("rgb")).toUInt(nullptr, 16) & 0xffffff));
            else if (section == u"borders" && n == u"border")
                borders.push_back(false), bordersThin = 0;
            else if (section == u"borders" && (n == u"left" || n == u"right" || n == u"top" || n == u"bottom")
                     && a.value(QLatin1String("style")) == u"thin")
                ++bordersThin;
            else if (section == u"cellXfs" && n == u"xf") {
                CellFormat f;
                const int numFmt = a.value(QLatin1String("numFmtId")).toInt();
                const auto code = codes.find(numFmt);
                f.numberFormat = code != codes.end() ? code->second : builtInNumberFormatCode(numFmt);
                if (f.numberFormat == u"General")
                    f.numberFormat.clear();
                const size_t font = a.value(QLatin1String("fontId")).toUInt();
                if (font < fonts.size())
                    f.fontSize = fonts[font].size, f.bold = fonts[font].bold, f.italic = fonts[font].italic;
                const size_t fill = a.value(QLatin1String("fillId")).toUInt();
                if (fill < fills.size())
                    f.fill = fills[fill];
                const size_t border = a.value(QLatin1String("borderId")).toUInt();
                f.thinBorders = border < borders.size() && borders[border];
                xfs.push_back(f);
            } else if (section == u"cellXfs" && n == u"alignment" && !xfs.empty()) {
                xfs.back().horizontal = horizontalFrom(a.value(QLatin1String("horizontal")));
                xfs.back().vertical = verticalFrom(a.value(QLatin1String("vertical")));
            }
        }
    }

    CellFormat formatOf(QStringView s) const
    {
        const size_t i = s.isEmpty() ? 0 : s.toUInt();
        return i < xfs.size() ? xfs[i] : CellFormat{};
    }
};

WorkbookReader::WorkbookReader() : d_(std::make_unique<Data>()) {}
WorkbookReader::~WorkbookReader() = default;

bool WorkbookReader::open(const QString& path, QString* error)
{
    d_ = std::make_unique<Data>();
    if (!d_->zip.open(path, error))
        return false;
    QString rootRels, workbookPart;
    if (!d_->part(QStringLiteral("_rels/.rels"), &rootRels, error))
        return false;
    relationshipTargets(rootRels, QString(), &workbookPart);
    QString workbook, workbookRels;
    if (workbookPart.isEmpty())
        return fail(error, QStringLiteral("%1 不是 xlsx 工作簿").arg(path));
    const int slash = int(workbookPart.lastIndexOf(u'/'));
    const QString relsPart = workbookPart.left(slash + 1) + QStringLiteral("_rels/") + workbookPart.mid(slash + 1) + QStringLiteral(".rels");
    if (!d_->part(workbookPart, &workbook, error) || !d_->part(relsPart, &workbookRels, error))
        return false;

    QString stylesPart, sharedPart;
    {
        QXmlStreamReader r(workbookRels);
        while (!r.atEnd())
            if (r.readNext() == QXmlStreamReader::StartElement && r.name() == u"Relationship") {
                const auto a = r.attributes();
                if (a.value(QLatin1String("Type")).endsWith(u"/styles"))
                    stylesPart = resolve(workbookPart, a.value(QLatin1String("Target")).toString());
                if (a.value(QLatin1String("Type")).endsWith(u"/sharedStrings"))
                    sharedPart = resolve(workbookPart, a.value(QLatin1String("Target")).toString());
            }
    }
    const auto targets = relationshipTargets(workbookRels, workbookPart);
    QXmlStreamReader r(workbook);
    while (!r.atEnd())
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == u"sheet") {
            const auto a = r.attributes();
            const QString name = a.value(QLatin1String("name")).toString();
            const auto t = targets.find(a.value(kRelNs, QLatin1String("id")).toString());
            d_->names.append(name);
            if (t != targets.end())
                d_->sheetParts[name] = t->second;
        }
    if (r.hasError())
        return fail(error, QStringLiteral("workbook.xml 无法解析：%1").arg(r.errorString()));

    QString xml;
    if (!stylesPart.isEmpty()) {
        if (!d_->part(stylesPart, &xml, error))
            return false;
        d_->parseStyles(xml);
    }
    if (!sharedPart.isEmpty()) {
        if (!d_->part(sharedPart, &xml, error))
            return false;
        QXmlStreamReader s(xml);
        while (!s.atEnd())
            if (s.readNext() == QXmlStreamReader::StartElement && s.name() == u"si")
                d_->sharedStrings.push_back(collectText(s));
    }
    return true;
}

QStringList WorkbookReader::sheetNames() const
{
    return d_->names;
}

std::map<QString, QByteArray> WorkbookReader::parts() const
{
    std::map<QString, QByteArray> out;
    for (int i = 0; i < d_->zip.entries().size(); ++i) {
        QByteArray bytes;
        if (d_->zip.read(i, &bytes, nullptr))
            out[QString::fromUtf8(d_->zip.entries()[i].name)] = bytes;
    }
    return out;
}

std::optional<ReadSheet> WorkbookReader::sheet(const QString& name, QString* error) const
{
    const auto part = d_->sheetParts.find(name);
    if (part == d_->sheetParts.end()) {
        fail(error, QStringLiteral("没有工作表“%1”").arg(name));
        return std::nullopt;
    }
    QString xml;
    if (!d_->part(part->second, &xml, error))
        return std::nullopt;
    ReadSheet sheet;
    sheet.name = name;
    QXmlStreamReader r(xml);
    int row = -1, col = -1;
    while (!r.atEnd()) {
        if (r.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto n = r.name();
        const auto a = r.attributes();
        if (n == u"row") {
            row = a.hasAttribute(QLatin1String("r")) ? a.value(QLatin1String("r")).toInt() - 1 : row + 1;
            col = -1;
            if (a.value(QLatin1String("customFormat")) == u"1" || a.value(QLatin1String("customFormat")) == u"true")
                sheet.rowFormats[row] = d_->formatOf(a.value(QLatin1String("s")));
        } else if (n == u"c") {
            int cr = row, cc = col + 1;
            if (a.hasAttribute(QLatin1String("r")))
                parseCellRef(a.value(QLatin1String("r")), &cr, &cc);
            col = cc;
            ReadCell cell;
            cell.format = d_->formatOf(a.value(QLatin1String("s")));
            const QString type = a.value(QLatin1String("t")).toString();
            int depth = 1;
            while (depth > 0 && !r.atEnd()) {
                const auto t = r.readNext();
                if (t == QXmlStreamReader::EndElement) {
                    --depth;
                } else if (t == QXmlStreamReader::StartElement) {
                    if (r.name() == u"v") {
                        const QString v = r.readElementText();
                        if (type == u"s") {
                            const size_t i = v.toUInt();
                            cell.value = i < d_->sharedStrings.size() ? d_->sharedStrings[i] : QString();
                        } else if (type == u"str" || type == u"e" || type == u"b") {
                            cell.value = unescapeExcel(v);
                        } else {
                            cell.value = v;
                            cell.isNumber = true;
                        }
                    } else if (r.name() == u"is") {
                        cell.value = collectText(r);
                    } else {
                        ++depth;
                    }
                }
            }
            sheet.cells[{cr, cc}] = cell;
        } else if (n == u"mergeCell") {
            const QStringList ends = a.value(QLatin1String("ref")).toString().split(u':');
            Range m;
            if (ends.size() == 2 && parseCellRef(ends[0], &m.firstRow, &m.firstCol) && parseCellRef(ends[1], &m.lastRow, &m.lastCol))
                sheet.merges.push_back(m);
        } else if (n == u"col") {
            ColumnInfo c;
            c.firstCol = a.value(QLatin1String("min")).toInt() - 1;
            c.lastCol = a.value(QLatin1String("max")).toInt() - 1;
            c.width = a.hasAttribute(QLatin1String("width")) ? characterWidth(a.value(QLatin1String("width")).toDouble()) : 0;
            c.hidden = a.value(QLatin1String("hidden")) == u"1" || a.value(QLatin1String("hidden")) == u"true";
            sheet.columns.push_back(c);
        }
    }
    if (r.hasError()) {
        fail(error, QStringLiteral("工作表“%1”无法解析：%2").arg(name, r.errorString()));
        return std::nullopt;
    }
    return sheet;
}

const ReadCell* ReadSheet::cell(int row, int col) const
{
    const auto it = cells.find({row, col});
    return it == cells.end() ? nullptr : &it->second;
}

QString ReadSheet::text(int row, int col) const
{
    const ReadCell* c = cell(row, col);
    return c ? c->value : QString();
}

std::optional<ColumnInfo> ReadSheet::column(int col) const
{
    for (const ColumnInfo& c : columns)
        if (col >= c.firstCol && col <= c.lastCol)
            return c;
    return std::nullopt;
}

}  // namespace corvane::xlsx
