// Adding or rewriting one sheet of an existing workbook. Only the sheet part,
// workbook.xml, its relationships, [Content_Types].xml and styles.xml change;
// every other part is copied as its original compressed bytes.

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QXmlStreamReader>
#include <charconv>

#include "platform/XlsxInternal.h"
#include "platform/Zip.h"

namespace corvane::xlsx {
namespace {

const QString kMainNs = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString kRelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kWorksheetType = kRelNs + QStringLiteral("/worksheet");
const QString kCalcChainType = kRelNs + QStringLiteral("/calcChain");
const QString kOfficeDocumentType = kRelNs + QStringLiteral("/officeDocument");
const QString kWorksheetContentType = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml");

QString attrEscape(QString s)
{
    s.replace(u'&', QStringLiteral("&amp;"));
    s.replace(u'<', QStringLiteral("&lt;"));
    s.replace(u'>', QStringLiteral("&gt;"));
    s.replace(u'"', QStringLiteral("&quot;"));
    return s;
}

QString prefixOf(const QXmlStreamReader& r)
{
    const QString p = r.prefix().toString();
    return p.isEmpty() ? QString() : p + u':';
}

// Part names inside the zip have no leading slash.
QString resolvePart(const QString& fromPart, const QString& target)
{
    if (target.startsWith(u'/'))
        return QDir::cleanPath(target.mid(1));
    const int slash = int(fromPart.lastIndexOf(u'/'));
    const QString dir = slash < 0 ? QString() : fromPart.left(slash + 1);
    return QDir::cleanPath(dir + target);
}

QString relsPartOf(const QString& part)
{
    const int slash = int(part.lastIndexOf(u'/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

QString relativeTarget(const QString& fromPart, const QString& part)
{
    const int slash = int(fromPart.lastIndexOf(u'/'));
    const QString dir = fromPart.left(slash + 1);
    return part.startsWith(dir) ? part.mid(dir.size()) : u'/' + part;
}

struct Relationship {
    QString id, type, target;
    QString targetMode;
};

std::vector<Relationship> parseRelationships(const QString& xml)
{
    std::vector<Relationship> out;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == u"Relationship") {
            const auto a = r.attributes();
            out.push_back({a.value(QLatin1String("Id")).toString(), a.value(QLatin1String("Type")).toString(), a.value(QLatin1String("Target")).toString(),
                           a.value(QLatin1String("TargetMode")).toString()});
        }
    }
    return out;
}

// Offset just before the closing tag of the document element.
qsizetype rootCloseOffset(const QString& xml)
{
    QXmlStreamReader r(xml);
    qsizetype before = 0;
    int depth = 0;
    while (!r.atEnd()) {
        before = r.characterOffset();
        const auto t = r.readNext();
        if (t == QXmlStreamReader::StartElement)
            ++depth;
        else if (t == QXmlStreamReader::EndElement && --depth == 0)
            return xml.mid(before).startsWith(QStringLiteral("</")) ? before : -1;
    }
    return -1;
}

// ------------------------------------------------------------------ styles.xml

class StylesPatch {
public:
    bool parse(const QString& xml, QString* error)
    {
        xml_ = xml;
        QXmlStreamReader r(xml_);
        int depth = 0;
        Section* current = nullptr;
        qsizetype childBegin = 0;
        bool inFirstFont = false;
        qsizetype fontChildBegin = 0;
        while (!r.atEnd()) {
            const qsizetype before = r.characterOffset();
            const auto t = r.readNext();
            if (t == QXmlStreamReader::StartElement) {
                ++depth;
                if (depth == 1) {
                    rootStartEnd_ = r.characterOffset();
                    rootPrefix_ = prefixOf(r);
                } else if (depth == 2) {
                    current = sectionNamed(r.name());
                    if (current) {
                        current->present = true;
                        current->begin = before;
                        current->startEnd = r.characterOffset();
                        current->prefix = prefixOf(r);
                    }
                } else if (depth == 3 && current) {
                    childBegin = before;
                    if (current == &numFmts_) {
                        const auto a = r.attributes();
                        customCodes_.push_back({a.value(QLatin1String("numFmtId")).toInt(), a.value(QLatin1String("formatCode")).toString()});
                    }
                    inFirstFont = current == &fonts_ && current->children.empty();
                } else if (depth == 4 && inFirstFont) {
                    fontChildBegin = before;
                    if (r.name() == u"sz")
                        baseFontSize_ = r.attributes().value(QLatin1String("val")).toDouble();
                }
            } else if (t == QXmlStreamReader::EndElement) {
                if (depth == 4 && inFirstFont && r.name() != u"sz" && r.name() != u"b" && r.name() != u"i")
                    baseFontRest_ += xml_.mid(fontChildBegin, r.characterOffset() - fontChildBegin);
                if (depth == 3 && current)
                    current->children.push_back(xml_.mid(childBegin, r.characterOffset() - childBegin));
                if (depth == 2 && current) {
                    current->endBegin = xml_.mid(before, 2) == QStringLiteral("</") ? before : -1;
                    current->end = r.characterOffset();
                    current = nullptr;
                }
                --depth;
            }
        }
        if (r.hasError())
            return fail(error, QStringLiteral("styles.xml 无法解析：%1").arg(r.errorString()));
        if (!fonts_.present || fonts_.children.empty() || !fills_.present || !borders_.present || !cellXfs_.present)
            return fail(error, QStringLiteral("styles.xml 缺少字体、填充、边框或单元格格式表"));
        return true;
    }

    int baseXfCount() const { return int(cellXfs_.children.size()); }

    // The xf index for the format, reusing an identical entry when there is one.
    int xfFor(const CellFormat& f)
    {
        const int numFmt = numFmtId(f.numberFormat);
        const int font = indexOf(fonts_, fontXml(f));
        const int fill = f.fill ? indexOf(fills_, fillXml(*f.fill)) : 0;
        const int border = f.thinBorders ? indexOf(borders_, borderXml()) : 0;
        const QString p = cellXfs_.prefix;
        QString xf = QStringLiteral("<%1xf numFmtId=\"%2\" fontId=\"%3\" fillId=\"%4\" borderId=\"%5\" xfId=\"0\"")
                         .arg(p).arg(numFmt).arg(font).arg(fill).arg(border);
        if (numFmt != 0)
            xf += QStringLiteral(" applyNumberFormat=\"1\"");
        if (font != 0)
            xf += QStringLiteral(" applyFont=\"1\"");
        if (fill != 0)
            xf += QStringLiteral(" applyFill=\"1\"");
        if (border != 0)
            xf += QStringLiteral(" applyBorder=\"1\"");
        const char* h = horizontalName(f.horizontal);
        const char* v = verticalName(f.vertical);
        if (h || v) {
            xf += QStringLiteral(" applyAlignment=\"1\"><%1alignment").arg(p);
            if (h)
                xf += QStringLiteral(" horizontal=\"%1\"").arg(QLatin1String(h));
            if (v)
                xf += QStringLiteral(" vertical=\"%1\"").arg(QLatin1String(v));
            xf += QStringLiteral("/></%1xf>").arg(p);
        } else {
            xf += QStringLiteral("/>");
        }
        return indexOf(cellXfs_, xf);
    }

    bool changed() const { return !added_.empty(); }

    QString result() const
    {
        // Sections are patched from the end of the text backwards so earlier offsets stay valid.
        QString out = xml_;
        const Section* order[] = {&cellXfs_, &borders_, &fills_, &fonts_, &numFmts_};
        for (const Section* s : order) {
            const auto it = added_.find(s);
            if (it == added_.end())
                continue;
            const QString extra = it->second.join(QString());
            const int count = int(s->children.size());
            if (!s->present) {
                // Only numFmts may be missing; it comes first in the style sheet.
                out.insert(rootStartEnd_, QStringLiteral("<%1numFmts count=\"%2\">%3</%1numFmts>")
                                              .arg(rootPrefix_).arg(count).arg(extra));
                continue;
            }
            QString startTag = xml_.mid(s->begin, s->startEnd - s->begin);
            const bool selfClosing = startTag.endsWith(QStringLiteral("/>"));
            if (selfClosing)
                startTag.chop(2), startTag += u'>';
            static const QRegularExpression countAttr(QStringLiteral("\\scount=\"\\d*\""));
            const QString countText = QStringLiteral(" count=\"%1\"").arg(count);
            if (startTag.contains(countAttr))
                startTag.replace(countAttr, countText);
            else
                startTag.insert(startTag.size() - 1, countText);
            if (selfClosing) {
                const QString name = startTag.mid(1, startTag.indexOf(QRegularExpression(QStringLiteral("[\\s>]"))) - 1);
                out.replace(s->begin, s->end - s->begin, startTag + extra + QStringLiteral("</%1>").arg(name));
            } else {
                out.insert(s->endBegin, extra);
                out.replace(s->begin, s->startEnd - s->begin, startTag);
            }
        }
        return out;
    }

private:
    struct Section {
        bool present = false;
        qsizetype begin = 0, startEnd = 0, endBegin = -1, end = 0;
        QString prefix;
        std::vector<QString> children;
    };

    Section* sectionNamed(QStringView name)
    {
        if (name == u"numFmts")
            return &numFmts_;
        if (name == u"fonts")
            return &fonts_;
        if (name == u"fills")
            return &fills_;
        if (name == u"borders")
            return &borders_;
        if (name == u"cellXfs")
            return &cellXfs_;
        return nullptr;
    }

    int indexOf(Section& s, const QString& child)
    {
        for (size_t i = 0; i < s.children.size(); ++i)
            if (s.children[i] == child)
                return int(i);
        s.children.push_back(child);
        added_[&s].append(child);
        return int(s.children.size() - 1);
    }

    int numFmtId(const QString& code)
    {
        const int builtIn = builtInNumberFormatId(code);
        if (builtIn >= 0)
            return builtIn;
        int highest = 163;
        for (const auto& [id, c] : customCodes_) {
            if (c == code)
                return id;
            highest = std::max(highest, id);
        }
        const int id = highest + 1;
        customCodes_.push_back({id, code});
        numFmts_.children.push_back(QString());
        added_[&numFmts_].append(QStringLiteral("<%1numFmt numFmtId=\"%2\" formatCode=\"%3\"/>")
                                     .arg(numFmts_.present ? numFmts_.prefix : rootPrefix_)
                                     .arg(id)
                                     .arg(attrEscape(code)));
        return id;
    }

    QString fontXml(const CellFormat& f)
    {
        if (!f.bold && !f.italic && f.fontSize == baseFontSize_)
            return fonts_.children.front();
        const QString p = fonts_.prefix;
        QString x = QStringLiteral("<%1font>").arg(p);
        if (f.bold)
            x += QStringLiteral("<%1b/>").arg(p);
        if (f.italic)
            x += QStringLiteral("<%1i/>").arg(p);
        x += QStringLiteral("<%1sz val=\"%2\"/>").arg(p, QString::number(f.fontSize));
        return x + baseFontRest_ + QStringLiteral("</%1font>").arg(p);
    }

    QString fillXml(QRgb rgb) const
    {
        const QString p = fills_.prefix;
        return QStringLiteral("<%1fill><%1patternFill patternType=\"solid\"><%1fgColor rgb=\"FF%2\"/><%1bgColor indexed=\"64\"/>"
                              "</%1patternFill></%1fill>")
            .arg(p, QStringLiteral("%1").arg(rgb & 0xffffff, 6, 16, QChar(u'0')).toUpper());
    }

    QString borderXml() const
    {
        const QString p = borders_.prefix;
        QString x = QStringLiteral("<%1border>").arg(p);
        for (const char* side : {"left", "right", "top", "bottom"})
            x += QStringLiteral("<%1%2 style=\"thin\"><%1color auto=\"1\"/></%1%2>").arg(p, QLatin1String(side));
        return x + QStringLiteral("<%1diagonal/></%1border>").arg(p);
    }

    QString xml_;
    qsizetype rootStartEnd_ = 0;
    QString rootPrefix_;
    Section numFmts_, fonts_, fills_, borders_, cellXfs_;
    std::vector<std::pair<int, QString>> customCodes_;
    double baseFontSize_ = 11;
    QString baseFontRest_;
    std::map<const Section*, QStringList> added_;
};

// ------------------------------------------------------------------ sheet XML

class XmlBackend final : public SheetWriter::Backend {
public:
    XmlBackend(StylesPatch& styles, bool selected) : styles_(styles), selected_(selected) {}

    bool open(QString* error)
    {
        if (!data_.open())
            return fail(error, QStringLiteral("无法创建临时文件：%1").arg(data_.errorString()));
        return true;
    }

    bool addFormat(const CellFormat& format, QString*) override
    {
        xf_.push_back(styles_.xfFor(format));
        return true;
    }

    bool writeRow(int row, std::span<const Cell> cells, int firstCol, FormatId rowFormat, QString* error) override
    {
        const qsizetype rowStart = buf_.size();
        buf_.append("<row r=\"");
        appendInt(row + 1);
        buf_.append('"');
        if (rowFormat >= 0) {
            buf_.append(" s=\"");
            appendInt(xf_[size_t(rowFormat)]);
            buf_.append("\" customFormat=\"1\"");
        }
        buf_.append('>');
        bool any = false;
        for (size_t i = 0; i < cells.size(); ++i) {
            const Cell& c = cells[i];
            const bool emptyText = c.kind == Cell::Kind::Text && c.text.isEmpty();
            if ((c.kind == Cell::Kind::Blank || emptyText) && c.format < 0)
                continue;
            const int col = firstCol + int(i);
            any = true;
            minCol_ = std::min(minCol_, col);
            maxCol_ = std::max(maxCol_, col);
            buf_.append("<c r=\"");
            buf_.append(columnLetters(col));
            appendInt(row + 1);
            buf_.append('"');
            if (c.format >= 0) {
                buf_.append(" s=\"");
                appendInt(xf_[size_t(c.format)]);
                buf_.append('"');
            }
            if (c.kind == Cell::Kind::Number) {
                buf_.append("><v>");
                char num[32];
                const auto res = std::to_chars(num, num + sizeof num, c.number);
                buf_.append(num, res.ptr - num);
                buf_.append("</v></c>");
            } else if (c.kind == Cell::Kind::Text && !emptyText) {
                const bool keepSpaces = c.text.front().isSpace() || c.text.back().isSpace();
                buf_.append(keepSpaces ? " t=\"inlineStr\"><is><t xml:space=\"preserve\">" : " t=\"inlineStr\"><is><t>");
                appendEscaped(buf_, c.text);
                buf_.append("</t></is></c>");
            } else {
                buf_.append("/>");
            }
        }
        if (!any && rowFormat < 0) {
            buf_.truncate(rowStart);
            return true;
        }
        buf_.append("</row>");
        minRow_ = std::min(minRow_, row);
        maxRow_ = row;
        return flush(false, error);
    }

    bool finish(const std::map<int, std::pair<double, bool>>& columns, const std::vector<Range>& merges,
                QString* error) override
    {
        if (!flush(true, error))
            return false;
        if (!sheet_.open())
            return fail(error, QStringLiteral("无法创建临时文件：%1").arg(sheet_.errorString()));
        QByteArray head =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
            "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
            "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">";
        head += "<dimension ref=\"";
        if (maxRow_ < 0 || maxCol_ < 0) {
            head += "A1";
        } else {
            head += cellName(minRow_, minCol_).toLatin1();
            if (minRow_ != maxRow_ || minCol_ != maxCol_)
                head += ':' + cellName(maxRow_, maxCol_).toLatin1();
        }
        head += "\"/><sheetViews><sheetView ";
        if (selected_)
            head += "tabSelected=\"1\" ";
        head += "workbookViewId=\"0\"/></sheetViews><sheetFormatPr defaultRowHeight=\"15\"/>";
        if (!columns.empty()) {
            head += "<cols>";
            for (auto it = columns.begin(); it != columns.end();) {
                // Neighbouring columns with the same settings share one entry.
                auto last = it;
                for (auto next = std::next(it); next != columns.end() && next->first == last->first + 1
                                                && next->second == it->second;
                     ++next)
                    last = next;
                const double width = storedColumnWidth(it->second.first);
                char w[32];
                const auto res = std::to_chars(w, w + sizeof w, width);
                head += "<col min=\"" + QByteArray::number(it->first + 1) + "\" max=\"" + QByteArray::number(last->first + 1)
                        + "\" width=\"" + QByteArray(w, res.ptr - w) + "\"";
                if (it->second.second)
                    head += " hidden=\"1\"";
                head += " customWidth=\"1\"/>";
                it = std::next(last);
            }
            head += "</cols>";
        }
        head += "<sheetData>";
        if (sheet_.write(head) != head.size() || !data_.seek(0))
            return fail(error, sheet_.errorString());
        while (!data_.atEnd()) {
            const QByteArray chunk = data_.read(256 * 1024);
            if (sheet_.write(chunk) != chunk.size())
                return fail(error, sheet_.errorString());
        }
        QByteArray tail = "</sheetData>";
        if (!merges.empty()) {
            tail += "<mergeCells count=\"" + QByteArray::number(qulonglong(merges.size())) + "\">";
            for (const Range& m : merges)
                tail += "<mergeCell ref=\"" + cellName(m.firstRow, m.firstCol).toLatin1() + ':'
                        + cellName(m.lastRow, m.lastCol).toLatin1() + "\"/>";
            tail += "</mergeCells>";
        }
        tail += "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/></worksheet>";
        if (sheet_.write(tail) != tail.size() || !sheet_.seek(0))
            return fail(error, sheet_.errorString());
        data_.close();
        return true;
    }

    QIODevice& sheet() { return sheet_; }

private:
    void appendInt(int v)
    {
        char tmp[16];
        const auto res = std::to_chars(tmp, tmp + sizeof tmp, v);
        buf_.append(tmp, res.ptr - tmp);
    }

    const QByteArray& columnLetters(int col)
    {
        if (size_t(col) >= letters_.size())
            letters_.resize(size_t(col) + 1);
        QByteArray& l = letters_[size_t(col)];
        if (l.isEmpty())
            l = columnName(col).toLatin1();
        return l;
    }

    bool flush(bool force, QString* error)
    {
        if (!force && buf_.size() < 1024 * 1024)
            return true;
        if (data_.write(buf_) != buf_.size())
            return fail(error, QStringLiteral("无法写入临时文件：%1").arg(data_.errorString()));
        buf_.clear();
        return true;
    }

    StylesPatch& styles_;
    bool selected_;
    std::vector<int> xf_;
    std::vector<QByteArray> letters_;
    QByteArray buf_;
    QTemporaryFile data_;
    QTemporaryFile sheet_;
    int minRow_ = kMaxRows, maxRow_ = -1, minCol_ = kMaxCols, maxCol_ = -1;
};

// ------------------------------------------------------------------ workbook.xml

struct SheetEntry {
    QString name;
    int sheetId = 0;
    QString relId;
    qsizetype begin = 0, end = 0;  // the element's text
};

struct WorkbookXml {
    QString xml;
    std::vector<SheetEntry> sheets;
    qsizetype sheetsCloseBegin = -1;
    QString sheetsPrefix;
    QString relPrefix;  // prefix bound to the relationships namespace, with ':'
    int activeTab = 0;

    bool parse(QString* error)
    {
        QXmlStreamReader r(xml);
        bool inSheets = false;
        while (!r.atEnd()) {
            const qsizetype before = r.characterOffset();
            const auto t = r.readNext();
            if (t == QXmlStreamReader::StartElement) {
                for (const auto& ns : r.namespaceDeclarations())
                    if (ns.namespaceUri() == kRelNs && relPrefix.isEmpty() && !ns.prefix().isEmpty())
                        relPrefix = ns.prefix().toString() + u':';
                if (r.name() == u"sheets") {
                    inSheets = true;
                    sheetsPrefix = prefixOf(r);
                } else if (inSheets && r.name() == u"sheet") {
                    const auto a = r.attributes();
                    sheets.push_back({a.value(QLatin1String("name")).toString(), a.value(QLatin1String("sheetId")).toInt(), a.value(kRelNs, QLatin1String("id")).toString(),
                                      before, 0});
                } else if (r.name() == u"workbookView") {
                    activeTab = r.attributes().value(QLatin1String("activeTab")).toInt();
                }
            } else if (t == QXmlStreamReader::EndElement) {
                if (inSheets && r.name() == u"sheet")
                    sheets.back().end = r.characterOffset();
                if (r.name() == u"sheets") {
                    inSheets = false;
                    sheetsCloseBegin = xml.mid(before, 2) == QStringLiteral("</") ? before : -1;
                }
            }
        }
        if (r.hasError() || sheets.empty() || sheetsCloseBegin < 0)
            return fail(error, QStringLiteral("workbook.xml 无法解析%1").arg(r.hasError() ? u'：' + r.errorString() : QString()));
        return true;
    }
};

QByteArray toUtf8(const QString& s)
{
    return s.toUtf8();
}

}  // namespace

bool writeSheetIntoPackage(const QString& path, const QString& sheetName, const SheetFill& fill, QString* error)
{
    zip::Reader package;
    if (!package.open(path, error))
        return false;
    auto readPart = [&](const QString& name, QString* text) {
        const int i = package.indexOf(name.toUtf8());
        if (i < 0)
            return fail(error, QStringLiteral("%1 不是 xlsx 工作簿（缺少 %2）").arg(path, name));
        QByteArray bytes;
        if (!package.read(i, &bytes, error))
            return false;
        *text = QString::fromUtf8(bytes);
        return true;
    };

    QString contentTypes, rootRels;
    if (!readPart(QStringLiteral("[Content_Types].xml"), &contentTypes) || !readPart(QStringLiteral("_rels/.rels"), &rootRels))
        return false;
    QString workbookPart;
    for (const Relationship& rel : parseRelationships(rootRels))
        if (rel.type == kOfficeDocumentType)
            workbookPart = resolvePart(QString(), rel.target);
    if (workbookPart.isEmpty())
        return fail(error, QStringLiteral("%1 不是 xlsx 工作簿（没有工作簿部件）").arg(path));
    const QString workbookRelsPart = relsPartOf(workbookPart);
    WorkbookXml workbook;
    QString workbookRels;
    if (!readPart(workbookPart, &workbook.xml) || !readPart(workbookRelsPart, &workbookRels) || !workbook.parse(error))
        return false;
    const std::vector<Relationship> rels = parseRelationships(workbookRels);

    QString stylesPart;
    for (const Relationship& rel : rels)
        if (rel.type == kRelNs + QStringLiteral("/styles"))
            stylesPart = resolvePart(workbookPart, rel.target);
    StylesPatch styles;
    QString stylesXml;
    if (stylesPart.isEmpty())
        return fail(error, QStringLiteral("%1 缺少样式表").arg(path));
    if (!readPart(stylesPart, &stylesXml) || !styles.parse(stylesXml, error))
        return false;

    // The sheet with exactly this name is rewritten; otherwise one is added.
    int target = -1;
    for (size_t i = 0; i < workbook.sheets.size(); ++i)
        if (workbook.sheets[i].name == sheetName)
            target = int(i);
    QString sheetPart;
    QString newWorkbookXml = workbook.xml;
    QString newWorkbookRels = workbookRels;
    QString newContentTypes = contentTypes;
    QString droppedPart;
    if (target >= 0) {
        const SheetEntry& s = workbook.sheets[size_t(target)];
        for (const Relationship& rel : rels)
            if (rel.id == s.relId) {
                if (rel.type != kWorksheetType)
                    return fail(error, QStringLiteral("“%1”不是工作表，无法写入").arg(sheetName));
                sheetPart = resolvePart(workbookPart, rel.target);
            }
        if (sheetPart.isEmpty() || package.indexOf(sheetPart.toUtf8()) < 0)
            return fail(error, QStringLiteral("工作表“%1”的部件缺失").arg(sheetName));
        // A rewritten sheet is shown even when it was hidden.
        QString element = workbook.xml.mid(s.begin, s.end - s.begin);
        static const QRegularExpression state(QStringLiteral("\\sstate=\"[^\"]*\""));
        if (element.contains(state)) {
            element.remove(state);
            newWorkbookXml.replace(s.begin, s.end - s.begin, element);
        }
        // The calculation chain may name formula cells that no longer exist;
        // Excel rebuilds it when it is missing, but calls the file damaged when it is wrong.
        for (const Relationship& rel : rels)
            if (rel.type == kCalcChainType) {
                droppedPart = resolvePart(workbookPart, rel.target);
                const QRegularExpression relElement(QStringLiteral("<([A-Za-z_][\\w.-]*:)?Relationship\\s[^>]*Id=\"%1\"[^>]*/>")
                                                        .arg(QRegularExpression::escape(rel.id)));
                newWorkbookRels.remove(relElement);
                const QRegularExpression override(QStringLiteral("<([A-Za-z_][\\w.-]*:)?Override\\s[^>]*PartName=\"/%1\"[^>]*/>")
                                                      .arg(QRegularExpression::escape(droppedPart)));
                newContentTypes.remove(override);
            }
    } else {
        for (const SheetEntry& s : workbook.sheets)
            if (s.name.compare(sheetName, Qt::CaseInsensitive) == 0)
                return fail(error, QStringLiteral("工作表名称“%1”与已有的工作表“%2”重复").arg(sheetName, s.name));
        const int slash = int(workbookPart.lastIndexOf(u'/'));
        const QString dir = workbookPart.left(slash + 1);
        for (int n = 1;; ++n) {
            sheetPart = dir + QStringLiteral("worksheets/sheet%1.xml").arg(n);
            if (package.indexOf(sheetPart.toUtf8()) < 0)
                break;
        }
        int relNumber = 1;
        for (bool taken = true; taken; ++relNumber) {
            taken = false;
            for (const Relationship& rel : rels)
                taken = taken || rel.id == QStringLiteral("rId%1").arg(relNumber);
            if (!taken)
                break;
        }
        const QString relId = QStringLiteral("rId%1").arg(relNumber);
        int sheetId = 0;
        for (const SheetEntry& s : workbook.sheets)
            sheetId = std::max(sheetId, s.sheetId);
        const QString relAttr = workbook.relPrefix.isEmpty()
                                    ? QStringLiteral("xmlns:r=\"%1\" r:id").arg(kRelNs)
                                    : workbook.relPrefix + QStringLiteral("id");
        newWorkbookXml.insert(workbook.sheetsCloseBegin, QStringLiteral("<%1sheet name=\"%2\" sheetId=\"%3\" %4=\"%5\"/>")
                                                             .arg(workbook.sheetsPrefix, attrEscape(sheetName))
                                                             .arg(sheetId + 1)
                                                             .arg(relAttr, relId));
        const qsizetype relsClose = rootCloseOffset(workbookRels);
        const qsizetype typesClose = rootCloseOffset(contentTypes);
        if (relsClose < 0 || typesClose < 0)
            return fail(error, QStringLiteral("%1 的关系或内容类型无法解析").arg(path));
        static const QRegularExpression relsPrefix(QStringLiteral("<([A-Za-z_][\\w.-]*:)?Relationships[\\s>]"));
        static const QRegularExpression typesPrefix(QStringLiteral("<([A-Za-z_][\\w.-]*:)?Types[\\s>]"));
        const QString rp = relsPrefix.match(workbookRels).captured(1);
        const QString tp = typesPrefix.match(contentTypes).captured(1);
        newWorkbookRels.insert(relsClose, QStringLiteral("<%1Relationship Id=\"%2\" Type=\"%3\" Target=\"%4\"/>")
                                              .arg(rp, relId, kWorksheetType, attrEscape(relativeTarget(workbookPart, sheetPart))));
        newContentTypes.insert(typesClose, QStringLiteral("<%1Override PartName=\"/%2\" ContentType=\"%3\"/>")
                                               .arg(tp, attrEscape(sheetPart), kWorksheetContentType));
    }

    const int position = target >= 0 ? target : int(workbook.sheets.size());
    auto backend = std::make_unique<XmlBackend>(styles, position == workbook.activeTab);
    if (!backend->open(error))
        return false;
    XmlBackend& xml = *backend;
    SheetWriter writer(std::move(backend));
    if (fill)
        fill(writer);
    if (!writer.finish())
        return fail(error, writer.error());

    std::map<QString, QByteArray> replaced;
    replaced[workbookPart] = toUtf8(newWorkbookXml);
    if (newWorkbookRels != workbookRels)
        replaced[workbookRelsPart] = toUtf8(newWorkbookRels);
    if (newContentTypes != contentTypes)
        replaced[QStringLiteral("[Content_Types].xml")] = toUtf8(newContentTypes);
    if (styles.changed())
        replaced[stylesPart] = toUtf8(styles.result());
    if (newWorkbookXml == workbook.xml)
        replaced.erase(workbookPart);

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return fail(error, QStringLiteral("无法写入文件 %1：%2").arg(path, out.errorString()));
    zip::Writer zipOut(out);
    for (int i = 0; i < package.entries().size(); ++i) {
        const QString name = QString::fromUtf8(package.entries()[i].name);
        bool ok = true;
        if (name == droppedPart)
            continue;
        if (name == sheetPart)
            ok = zipOut.add(package.entries()[i].name, xml.sheet(), error);
        else if (const auto it = replaced.find(name); it != replaced.end())
            ok = zipOut.add(package.entries()[i].name, it->second, error);
        else
            ok = zipOut.addRaw(package, i, error);
        if (!ok) {
            out.cancelWriting();
            return false;
        }
    }
    if (target < 0 && !zipOut.add(sheetPart.toUtf8(), xml.sheet(), error)) {
        out.cancelWriting();
        return false;
    }
    if (!zipOut.finish(error)) {
        out.cancelWriting();
        return false;
    }
    if (!out.commit())
        return fail(error, QStringLiteral("无法保存文件 %1：%2").arg(path, out.errorString()));
    return true;
}

}  // namespace corvane::xlsx

// ------------------------------------------------------------------ template fill

namespace corvane::xlsx {

namespace {

struct SheetCellXml {
    int col = 0;
    QString xml;    // the whole element
    QString style;  // its s attribute, "" when none
};

struct SheetRowXml {
    int row = 0;         // 0-based
    QString startTag;    // "<row ...>" (rewritten as an open tag)
    std::vector<SheetCellXml> cells;
    bool selfClosed = false;
};

// Splits "AB12" into column and row, 0-based; false for anything else.
bool splitCellName(QStringView ref, int* col, int* row)
{
    int c = 0;
    qsizetype i = 0;
    while (i < ref.size() && ref[i].isLetter()) {
        c = c * 26 + (ref[i].toUpper().unicode() - u'A' + 1);
        ++i;
    }
    if (i == 0 || i == ref.size()) return false;
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    if (!ok || r < 1) return false;
    *col = c - 1;
    *row = r - 1;
    return true;
}

QString cellXml(const QString& p, int row, int col, const Cell& c, int style)
{
    QString x = QStringLiteral("<%1c r=\"%2\"").arg(p, cellName(row, col));
    if (style >= 0) x += QStringLiteral(" s=\"%1\"").arg(style);
    if (c.kind == Cell::Kind::Number) {
        char num[32];
        const auto res = std::to_chars(num, num + sizeof num, c.number);
        return x + QStringLiteral("><%1v>%2</%1v></%1c>").arg(p, QString::fromLatin1(num, res.ptr - num));
    }
    if (c.kind == Cell::Kind::Text && !c.text.isEmpty()) {
        QByteArray escaped;
        appendEscaped(escaped, c.text);
        const bool keepSpaces = c.text.front().isSpace() || c.text.back().isSpace();
        return x + QStringLiteral(" t=\"inlineStr\"><%1is><%1t%2>%3</%1t></%1is></%1c>")
                       .arg(p, keepSpaces ? QStringLiteral(" xml:space=\"preserve\"") : QString(),
                            QString::fromUtf8(escaped));
    }
    return x + QStringLiteral("/>");
}

}  // namespace

bool isOpenXmlPackage(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    return f.read(4) == QByteArray("PK\x03\x04", 4);
}

TemplateFillOutcome fillTemplateSheet(const QString& path, const TemplateFill& fill, QString* error)
{
    const auto failed = [&](const QString& text) {
        fail(error, text);
        return TemplateFillOutcome::Failed;
    };
    zip::Reader package;
    if (!package.open(path, error)) return TemplateFillOutcome::Failed;
    auto readPart = [&](const QString& name, QString* text) {
        const int i = package.indexOf(name.toUtf8());
        if (i < 0) return fail(error, QStringLiteral("%1 不是 xlsx 工作簿（缺少 %2）").arg(path, name));
        QByteArray bytes;
        if (!package.read(i, &bytes, error)) return false;
        *text = QString::fromUtf8(bytes);
        return true;
    };
    QString contentTypes, rootRels;
    if (!readPart(QStringLiteral("[Content_Types].xml"), &contentTypes) || !readPart(QStringLiteral("_rels/.rels"), &rootRels))
        return TemplateFillOutcome::Failed;
    QString workbookPart;
    for (const Relationship& rel : parseRelationships(rootRels))
        if (rel.type == kOfficeDocumentType) workbookPart = resolvePart(QString(), rel.target);
    if (workbookPart.isEmpty()) return failed(QStringLiteral("%1 不是 xlsx 工作簿（没有工作簿部件）").arg(path));
    const QString workbookRelsPart = relsPartOf(workbookPart);
    WorkbookXml workbook;
    QString workbookRels;
    if (!readPart(workbookPart, &workbook.xml) || !readPart(workbookRelsPart, &workbookRels) || !workbook.parse(error))
        return TemplateFillOutcome::Failed;
    const std::vector<Relationship> rels = parseRelationships(workbookRels);

    int target = -1;
    for (size_t i = 0; i < workbook.sheets.size() && target < 0; ++i)
        if (workbook.sheets[i].name == fill.sheetName) target = int(i);
    if (target < 0) return TemplateFillOutcome::NoSheet;
    const SheetEntry& entry = workbook.sheets[size_t(target)];
    QString sheetPart;
    for (const Relationship& rel : rels)
        if (rel.id == entry.relId && rel.type == kWorksheetType) sheetPart = resolvePart(workbookPart, rel.target);
    if (sheetPart.isEmpty()) return failed(QStringLiteral("“%1”不是工作表，无法写入").arg(fill.sheetName));
    QString sheetXml;
    if (!readPart(sheetPart, &sheetXml)) return TemplateFillOutcome::Failed;

    QString stylesPart;
    for (const Relationship& rel : rels)
        if (rel.type == kRelNs + QStringLiteral("/styles")) stylesPart = resolvePart(workbookPart, rel.target);
    if (stylesPart.isEmpty()) return failed(QStringLiteral("%1 缺少样式表").arg(path));
    StylesPatch styles;
    QString stylesXml;
    if (!readPart(stylesPart, &stylesXml) || !styles.parse(stylesXml, error)) return TemplateFillOutcome::Failed;
    CellFormat textFormat;
    textFormat.numberFormat = QStringLiteral("@");
    const int textXf = fill.textColumns.empty() ? -1 : styles.xfFor(textFormat);
    auto isTextColumn = [&](int col) {
        return std::find(fill.textColumns.begin(), fill.textColumns.end(), col) != fill.textColumns.end();
    };

    // The sheet: where sheetData, cols and dimension lie, and its rows.
    QXmlStreamReader r(sheetXml);
    QString prefix;
    qsizetype dataBegin = -1, dataEnd = -1;   // the whole sheetData element
    qsizetype colsBegin = -1, colsEnd = -1;   // the whole cols element
    qsizetype dimBegin = -1, dimEnd = -1;
    qsizetype sheetFormatEnd = -1, sheetViewsEnd = -1, sheetPrEnd = -1;
    std::vector<SheetRowXml> rows;
    int depth = 0;
    qsizetype rowBegin = 0, cellBegin = 0;
    while (!r.atEnd()) {
        const qsizetype before = r.characterOffset();
        const auto t = r.readNext();
        if (t == QXmlStreamReader::StartElement) {
            ++depth;
            const auto name = r.name();
            if (depth == 1) {
                prefix = prefixOf(r);
            } else if (depth == 2 && name == u"sheetData") {
                dataBegin = before;
            } else if (depth == 2 && name == u"cols") {
                colsBegin = before;
            } else if (depth == 2 && name == u"dimension") {
                dimBegin = before;
            } else if (depth == 3 && name == u"row" && dataBegin >= 0) {
                rowBegin = before;
                SheetRowXml row;
                row.row = r.attributes().value(QLatin1String("r")).toInt() - 1;
                if (row.row < 0) row.row = rows.empty() ? 0 : rows.back().row + 1;
                row.startTag = sheetXml.mid(before, r.characterOffset() - before);
                rows.push_back(std::move(row));
            } else if (depth == 4 && name == u"c" && !rows.empty()) {
                cellBegin = before;
                SheetCellXml cell;
                int c = 0, rr = 0;
                const QString ref = r.attributes().value(QLatin1String("r")).toString();
                cell.col = splitCellName(ref, &c, &rr) ? c : (rows.back().cells.empty() ? 0 : rows.back().cells.back().col + 1);
                cell.style = r.attributes().value(QLatin1String("s")).toString();
                rows.back().cells.push_back(std::move(cell));
            }
        } else if (t == QXmlStreamReader::EndElement) {
            const auto name = r.name();
            const qsizetype after = r.characterOffset();
            if (depth == 2 && name == u"sheetData") dataEnd = after;
            else if (depth == 2 && name == u"cols") colsEnd = after;
            else if (depth == 2 && name == u"dimension") dimEnd = after;
            else if (depth == 2 && name == u"sheetFormatPr") sheetFormatEnd = after;
            else if (depth == 2 && name == u"sheetViews") sheetViewsEnd = after;
            else if (depth == 2 && name == u"sheetPr") sheetPrEnd = after;
            else if (depth == 3 && name == u"row" && !rows.empty()) {
                const QString whole = sheetXml.mid(rowBegin, after - rowBegin);
                rows.back().selfClosed = !whole.contains(QStringLiteral("</"));
            } else if (depth == 4 && name == u"c" && !rows.empty() && !rows.back().cells.empty())
                rows.back().cells.back().xml = sheetXml.mid(cellBegin, after - cellBegin);
            --depth;
        }
    }
    if (r.hasError()) return failed(QStringLiteral("工作表“%1”无法解析：%2").arg(fill.sheetName, r.errorString()));
    if (dataBegin < 0 || dataEnd < 0) return failed(QStringLiteral("工作表“%1”没有数据区").arg(fill.sheetName));

    // The new rows, merged with what the sheet keeps.
    const QString p = prefix.isEmpty() ? QString() : prefix;
    std::map<int, SheetRowXml> byRow;
    for (SheetRowXml& row : rows) {
        if (row.selfClosed && row.startTag.endsWith(QStringLiteral("/>")))
            row.startTag = row.startTag.left(row.startTag.size() - 2).trimmed() + u'>';
        // A spans hint may no longer hold once cells change; Excel recomputes it.
        static const QRegularExpression spans(QStringLiteral("\\sspans=\"[^\"]*\""));
        if (row.row >= fill.keepRows) row.startTag.remove(spans);
        byRow[row.row] = std::move(row);
    }
    int maxRow = -1, maxCol = -1;
    for (auto& [index, row] : byRow) {
        if (index < fill.keepRows) continue;
        std::vector<SheetCellXml> kept;
        for (SheetCellXml& cell : row.cells) {
            if (cell.col < fill.firstCol || cell.col > fill.lastCol) {
                kept.push_back(std::move(cell));
                continue;
            }
            // Emptied: the cell keeps its place and style, not its value.
            int style = cell.style.isEmpty() ? -1 : cell.style.toInt();
            if (isTextColumn(cell.col)) style = textXf;
            if (style < 0) continue;
            kept.push_back({cell.col, cellXml(p, index, cell.col, Cell::blank(), style), QString::number(style)});
        }
        row.cells = std::move(kept);
    }
    for (size_t i = 0; i < fill.rows.size(); ++i) {
        const int index = fill.keepRows + int(i);
        SheetRowXml& row = byRow[index];
        if (row.startTag.isEmpty()) {
            row.row = index;
            row.startTag = QStringLiteral("<%1row r=\"%2\">").arg(p).arg(index + 1);
        }
        const std::vector<Cell>& cells = fill.rows[i];
        for (size_t k = 0; k < cells.size(); ++k) {
            const int col = fill.firstCol + int(k);
            if (col > fill.lastCol) break;
            const Cell& c = cells[k];
            const bool empty = c.kind == Cell::Kind::Blank || (c.kind == Cell::Kind::Text && c.text.isEmpty());
            if (empty) continue;
            auto at = std::find_if(row.cells.begin(), row.cells.end(), [&](const SheetCellXml& x) { return x.col >= col; });
            int style = isTextColumn(col) ? textXf : -1;
            if (at != row.cells.end() && at->col == col) {
                if (style < 0 && !at->style.isEmpty()) style = at->style.toInt();
                *at = {col, cellXml(p, index, col, c, style), style < 0 ? QString() : QString::number(style)};
            } else {
                row.cells.insert(at, {col, cellXml(p, index, col, c, style), style < 0 ? QString() : QString::number(style)});
            }
        }
    }
    QString data = QStringLiteral("<%1sheetData>").arg(p);
    for (auto& [index, row] : byRow) {
        if (row.cells.empty() && index >= fill.keepRows && row.startTag == QStringLiteral("<%1row r=\"%2\">").arg(p).arg(index + 1))
            continue;
        data += row.startTag;
        for (const SheetCellXml& cell : row.cells) {
            data += cell.xml;
            maxCol = std::max(maxCol, cell.col);
        }
        data += QStringLiteral("</%1row>").arg(p);
        maxRow = std::max(maxRow, index);
    }
    data += QStringLiteral("</%1sheetData>").arg(p);

    // Column settings: the text columns carry the "@" style for cells yet to be typed.
    QString cols;
    if (!fill.textColumns.empty()) {
        std::map<int, QString> perColumn;  // 1-based column -> attributes after min/max
        if (colsBegin >= 0 && colsEnd > colsBegin) {
            QXmlStreamReader c(sheetXml.mid(colsBegin, colsEnd - colsBegin));
            while (!c.atEnd()) {
                if (c.readNext() != QXmlStreamReader::StartElement || c.name() != u"col") continue;
                const auto a = c.attributes();
                const int lo = a.value(QLatin1String("min")).toInt(), hi = a.value(QLatin1String("max")).toInt();
                QString rest;
                for (const auto& attr : a) {
                    if (attr.name() == u"min" || attr.name() == u"max") continue;
                    rest += QStringLiteral(" %1=\"%2\"").arg(attr.qualifiedName().toString(), attrEscape(attr.value().toString()));
                }
                for (int k = lo; k <= hi && k - lo < kMaxCols; ++k) perColumn[k] = rest;
            }
        }
        static const QRegularExpression styleAttr(QStringLiteral("\\sstyle=\"[^\"]*\""));
        for (int col : fill.textColumns) {
            QString& rest = perColumn[col + 1];
            rest.remove(styleAttr);
            if (!rest.contains(QStringLiteral("width="))) rest += QStringLiteral(" width=\"9\"");
            rest += QStringLiteral(" style=\"%1\"").arg(textXf);
        }
        cols = QStringLiteral("<%1cols>").arg(p);
        for (auto it = perColumn.begin(); it != perColumn.end();) {
            auto last = it;
            for (auto next = std::next(it); next != perColumn.end() && next->first == last->first + 1 && next->second == it->second; ++next)
                last = next;
            cols += QStringLiteral("<%1col min=\"%2\" max=\"%3\"%4/>").arg(p).arg(it->first).arg(last->first).arg(it->second);
            it = std::next(last);
        }
        cols += QStringLiteral("</%1cols>").arg(p);
    }

    // Patched from the end of the text backwards so earlier offsets stay valid.
    QString newSheet = sheetXml;
    newSheet.replace(dataBegin, dataEnd - dataBegin, data);
    if (!cols.isEmpty()) {
        if (colsBegin >= 0 && colsEnd > colsBegin)
            newSheet.replace(colsBegin, colsEnd - colsBegin, cols);
        else {
            // cols comes after sheetFormatPr/sheetViews and before sheetData.
            newSheet.insert(dataBegin, cols);
        }
    }
    if (dimBegin >= 0 && dimEnd > dimBegin) {
        const QString ref = maxRow < 0 || maxCol < 0 ? QStringLiteral("A1")
                                                     : QStringLiteral("A1:%1").arg(cellName(maxRow, maxCol));
        newSheet.replace(dimBegin, dimEnd - dimBegin, QStringLiteral("<%1dimension ref=\"%2\"/>").arg(p, ref));
    }
    Q_UNUSED(sheetFormatEnd);
    Q_UNUSED(sheetViewsEnd);
    Q_UNUSED(sheetPrEnd);

    // The sheet and the workbook's first window are shown.
    QString newWorkbookXml = workbook.xml;
    static const QRegularExpression state(QStringLiteral("\\sstate=\"[^\"]*\""));
    static const QRegularExpression visibility(QStringLiteral("\\svisibility=\"[^\"]*\""));
    static const QRegularExpression firstView(QStringLiteral("<([A-Za-z_][\\w.-]*:)?workbookView[\\s/>][^>]*>"));
    QString element = workbook.xml.mid(entry.begin, entry.end - entry.begin);
    if (element.contains(state)) {
        element.remove(state);
        newWorkbookXml.replace(entry.begin, entry.end - entry.begin, element);
    }
    const auto view = firstView.match(newWorkbookXml);
    if (view.hasMatch() && view.captured(0).contains(visibility)) {
        QString v = view.captured(0);
        v.remove(visibility);
        newWorkbookXml.replace(view.capturedStart(0), view.capturedLength(0), v);
    }

    // Cleared formulas may be named by the calculation chain; Excel rebuilds a
    // missing chain but calls the file damaged when it is wrong.
    QString droppedPart;
    QString newWorkbookRels = workbookRels;
    QString newContentTypes = contentTypes;
    for (const Relationship& rel : rels)
        if (rel.type == kCalcChainType) {
            droppedPart = resolvePart(workbookPart, rel.target);
            const QRegularExpression relElement(QStringLiteral("<([A-Za-z_][\\w.-]*:)?Relationship\\s[^>]*Id=\"%1\"[^>]*/>")
                                                    .arg(QRegularExpression::escape(rel.id)));
            newWorkbookRels.remove(relElement);
            const QRegularExpression override(QStringLiteral("<([A-Za-z_][\\w.-]*:)?Override\\s[^>]*PartName=\"/%1\"[^>]*/>")
                                                  .arg(QRegularExpression::escape(droppedPart)));
            newContentTypes.remove(override);
        }

    std::map<QString, QByteArray> replaced;
    replaced[sheetPart] = newSheet.toUtf8();
    if (newWorkbookXml != workbook.xml) replaced[workbookPart] = newWorkbookXml.toUtf8();
    if (newWorkbookRels != workbookRels) replaced[workbookRelsPart] = newWorkbookRels.toUtf8();
    if (newContentTypes != contentTypes) replaced[QStringLiteral("[Content_Types].xml")] = newContentTypes.toUtf8();
    if (styles.changed()) replaced[stylesPart] = styles.result().toUtf8();

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return failed(QStringLiteral("无法写入文件 %1：%2").arg(path, out.errorString()));
    zip::Writer zipOut(out);
    for (int i = 0; i < package.entries().size(); ++i) {
        const QString name = QString::fromUtf8(package.entries()[i].name);
        if (name == droppedPart) continue;
        bool ok;
        if (const auto it = replaced.find(name); it != replaced.end())
            ok = zipOut.add(package.entries()[i].name, it->second, error);
        else
            ok = zipOut.addRaw(package, i, error);
        if (!ok) {
            out.cancelWriting();
            return TemplateFillOutcome::Failed;
        }
    }
    if (!zipOut.finish(error)) {
        out.cancelWriting();
        return TemplateFillOutcome::Failed;
    }
    if (!out.commit()) return failed(QStringLiteral("无法保存文件 %1：%2").arg(path, out.errorString()));
    return TemplateFillOutcome::Done;
}

}  // namespace corvane::xlsx
