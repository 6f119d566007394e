#include "platform/FlexGrid.h"

#include <QAbstractTableModel>
#include <QCollator>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <optional>
#include <unordered_map>

#include "platform/Amounts.h"
#include "platform/CellText.h"
#include "platform/Forms.h"
#include "platform/RuntimeError.h"
#include "platform/TextMeasure.h"

namespace corvane {

namespace {

struct CellAttr {
    QColor back;
    QColor fore;
    bool italic = false;
    QPixmap picture;
};

constexpr qint64 kNoValue = std::numeric_limits<qint64>::min();

// Where a cell's text lies in its column's buffer.
struct Span {
    quint32 at = 0;
    quint32 size = 0;
};

// A column keeps its cells by storage slot, not by row: a text column as one
// buffer of characters with a span per slot (equal neighbouring texts of a
// fill share their characters), a value column as one number per slot. A
// value column keeps the rare text that is no value of its kind (a heading,
// a text a window wrote) beside the numbers.
struct GridCol {
    int width = -1;  // twips; -1 the default width
    int alignment = flexAlignGeneral;
    int fixedAlignment = flexAlignLeftCenter;
    bool merge = false;
    int kind = flexKindText;
    std::vector<char16_t> chars;
    std::vector<Span> spans;
    std::vector<qint64> values;
    std::unordered_map<quint32, QString> texts;
    size_t unused = 0;  // characters of the buffer no span refers to any more
};

bool numberOf(QStringView text, double* value)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty()) return false;
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (ok && value) *value = v;
    return ok;
}

Qt::Alignment alignmentFlags(int code, const QString& text)
{
    if (code == flexAlignGeneral)
        return Qt::AlignVCenter | (numberOf(text, nullptr) ? Qt::AlignRight : Qt::AlignLeft);
    if (code < 0 || code > 8) code = flexAlignLeftCenter;
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return horizontal[code / 3] | vertical[code % 3];
}

void badRow() { throw RuntimeError(30009, QStringLiteral("Invalid Row value")); }
void badCol() { throw RuntimeError(30010, QStringLiteral("Invalid Col value")); }
void badValue() { throw RuntimeError(380, QStringLiteral("Invalid property value")); }

int twipsToPixelsRounded(int twips) { return int(std::lround(twips / double(TwipsPerPixel))); }

// Bottom-up merge sort on positions: stable, and safe with a comparison that
// is not a strict weak order (the generic order mixes numbers and texts).
template <class Less>
void stableSort(std::vector<int>& v, Less less)
{
    const size_t n = v.size();
    std::vector<int> buf(n);
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) buf[k++] = less(v[j], v[i]) ? v[j++] : v[i++];
            while (i < mid) buf[k++] = v[i++];
            while (j < hi) buf[k++] = v[j++];
        }
        v.swap(buf);
    }
}

QCollator& collator(bool caseSensitive)
{
    static QCollator sensitive = [] {
        QCollator c(QLocale(QLocale::Chinese, QLocale::China));
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    static QCollator insensitive = [] {
        QCollator c(QLocale(QLocale::Chinese, QLocale::China));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return caseSensitive ? sensitive : insensitive;
}

// A value's text as its kind shows it; false for no value (an empty cell).
bool valueText(int kind, qint64 v, CellTextBuffer& buf, QStringView* out)
{
    if (v == kNoValue) return false;
    switch (kind) {
    case flexKindAmount: *out = writeCents(v, buf); return true;
    case flexKindDate: *out = writeDateTime(v, buf); return true;
    case flexKindFlag: *out = v ? QStringView(u"True") : QStringView(u"False"); return true;
    default: return false;
    }
}

// The value a text stands for in a value column, when the text is exactly
// how that value is shown.
std::optional<qint64> valueOf(int kind, QStringView text)
{
    CellTextBuffer buf;
    QStringView shown;
    std::optional<qint64> v;
    switch (kind) {
    case flexKindAmount: v = parseCents(text); break;
    case flexKindDate: v = packStoredDate(text); break;
    case flexKindFlag:
        if (text == u"True") v = 1;
        else if (text == u"False") v = 0;
        break;
    default: break;
    }
    if (v && valueText(kind, *v, buf, &shown) && shown == text) return v;
    return std::nullopt;
}

bool isValueKind(int kind) { return kind == flexKindAmount || kind == flexKindDate || kind == flexKindFlag; }

}  // namespace

class FlexGridModel : public QAbstractTableModel {
public:
    explicit FlexGridModel(FlexGrid* grid) : QAbstractTableModel(grid), m_grid(grid) {}

    // Row r is storage slot order[r]; sorting and inserting move slot
    // numbers, never the cells. Slots no row refers to are reclaimed when the
    // rows shrink (a refresh empties the list before it fills it again).
    std::vector<quint32> order;
    std::vector<GridCol> cols;
    std::vector<int> rowData;  // by slot
    std::unordered_map<quint32, std::vector<CellAttr>> attrs;  // by slot: only rows with coloured, italic or pictured cells
    int fixedRows = 1;
    int fixedCols = 1;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(order.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(cols.size()); }
    Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled; }
    size_t slotCount() const { return rowData.size(); }

    const CellAttr* attr(int r, int c) const
    {
        if (attrs.empty()) return nullptr;
        const auto it = attrs.find(order[size_t(r)]);
        return it == attrs.end() ? nullptr : &it->second[size_t(c)];
    }
    CellAttr& attrForWrite(int r, int c)
    {
        auto& a = attrs[order[size_t(r)]];
        if (a.empty()) a.resize(cols.size());
        return a[size_t(c)];
    }

    // The text of a cell as a view: of the column's buffer, or of buf for a
    // value or a row number. Valid until the cell or buf changes.
    QStringView view(int r, int c, CellTextBuffer& buf) const
    {
        const GridCol& col = cols[size_t(c)];
        const quint32 slot = order[size_t(r)];
        if (col.kind == flexKindText) {
            const Span s = col.spans[slot];
            return QStringView(col.chars.data() + s.at, qsizetype(s.size));
        }
        if (!col.texts.empty()) {
            const auto it = col.texts.find(slot);
            if (it != col.texts.end()) return it->second;
        }
        QStringView out;
        if (col.kind == flexKindRowNumber) {
            if (r < fixedRows) return {};
            buf.at = 32;
            qint64 v = r;
            do {
                buf.chars[--buf.at] = char16_t(u'0' + v % 10);
                v /= 10;
            } while (v);
            return buf.view();
        }
        valueText(col.kind, col.values[slot], buf, &out);
        return out;
    }
    QString text(int r, int c) const
    {
        CellTextBuffer buf;
        return view(r, c, buf).toString();
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid()) return {};
        const int r = index.row(), c = index.column();
        const CellAttr* a = attr(r, c);
        switch (role) {
        case Qt::DisplayRole:
            return text(r, c);
        case Qt::ToolTipRole:
            return cutText(r, c);
        case Qt::TextAlignmentRole: {
            const GridCol& col = cols[size_t(c)];
            const bool fixed = r < fixedRows || c < fixedCols;
            return QVariant::fromValue(alignmentFlags(fixed ? col.fixedAlignment : col.alignment, text(r, c)));
        }
        case Qt::FontRole:
            if (a && a->italic) return italicFont();
            return {};
        case Qt::BackgroundRole:
            if (a && a->back.isValid()) return a->back;
            return {};
        case Qt::ForegroundRole:
            if (a && a->fore.isValid()) return a->fore;
            return {};
        case Qt::DecorationRole:
            if (a && !a->picture.isNull()) return a->picture;
            return {};
        default:
            return {};
        }
    }

    QFont italicFont() const
    {
        QFont f = m_grid->font();
        f.setItalic(true);
        return f;
    }

    // The whole text of a cell too narrow for it, for its tooltip.
    QVariant cutText(int r, int c) const
    {
        const QString t = text(r, c);
        if (t.isEmpty()) return {};
        const CellAttr* a = attr(r, c);
        const QFontMetrics fm(a && a->italic ? italicFont() : m_grid->font());
        if (!FlexGrid::textCut(fm.horizontalAdvance(t), m_grid->colPixels(c))) return {};
        return t;
    }

    // ---- storage

    quint32 newSlot()
    {
        for (GridCol& col : cols) {
            if (col.kind == flexKindText) col.spans.push_back({});
            else if (col.kind != flexKindRowNumber) col.values.push_back(kNoValue);
        }
        rowData.push_back(0);
        return quint32(rowData.size() - 1);
    }

    // Row is the cell's row when known (-1 during a fill): a row number
    // column keeps only texts that are not their row's own number.
    void put(quint32 slot, int c, QStringView text, int row = -1, bool shareWithPrevious = false)
    {
        GridCol& col = cols[size_t(c)];
        if (col.kind == flexKindText) {
            Span& s = col.spans[slot];
            col.unused += s.size;
            s = {};
            if (text.isEmpty()) return;
            if (shareWithPrevious && slot > 0) {
                const Span prev = col.spans[slot - 1];
                if (QStringView(col.chars.data() + prev.at, qsizetype(prev.size)) == text) {
                    s = prev;
                    return;
                }
            }
            s = {quint32(col.chars.size()), quint32(text.size())};
            col.chars.insert(col.chars.end(), text.utf16(), text.utf16() + text.size());
            if (col.unused > (1u << 20) && col.unused > col.chars.size() / 2) compactText(col);
            return;
        }
        if (col.kind == flexKindRowNumber) {
            if (row >= fixedRows && text == QString::number(row)) col.texts.erase(slot);
            else if (row >= 0 && row < fixedRows && text.isEmpty()) col.texts.erase(slot);
            else col.texts[slot] = text.toString();
            return;
        }
        const std::optional<qint64> v = text.isEmpty() ? std::optional<qint64>() : valueOf(col.kind, text);
        col.values[slot] = v.value_or(kNoValue);
        if (text.isEmpty() || v) col.texts.erase(slot);
        else col.texts[slot] = text.toString();
    }

    // A value of a kind: kept as it is in a column of that kind, as its text in any other.
    void putValue(quint32 slot, int c, int kind, qint64 v)
    {
        GridCol& col = cols[size_t(c)];
        if (col.kind != kind) {
            CellTextBuffer buf;
            QStringView t;
            valueText(kind, v, buf, &t);
            return put(slot, c, t);
        }
        col.values[slot] = v;
        if (!col.texts.empty()) col.texts.erase(slot);
    }

    // A buffer holding mostly replaced texts is rewritten with the live ones.
    void compactText(GridCol& col)
    {
        std::vector<char16_t> chars;
        chars.reserve(col.chars.size() - col.unused);
        std::vector<char> live(col.spans.size(), 0);
        for (quint32 slot : order) live[slot] = 1;
        for (size_t slot = 0; slot < col.spans.size(); ++slot) {
            Span& s = col.spans[slot];
            if (!live[slot] || s.size == 0) {
                s = {};
                continue;
            }
            const quint32 at = quint32(chars.size());
            chars.insert(chars.end(), col.chars.begin() + s.at, col.chars.begin() + s.at + s.size);
            s.at = at;
        }
        col.chars.swap(chars);
        col.unused = 0;
    }

    // Storage of rows that are gone is reused. Emptying the list to a few
    // rows keeps the buffers' capacity for the next fill, and nothing is
    // freed cell by cell: buffers and spans are plain numbers.
    void reclaim()
    {
        const size_t live = order.size(), total = slotCount();
        if (total - live < 4096 || total - live < live) return;
        struct Kept {
            std::vector<QString> cells;
            int data;
            std::vector<CellAttr> attrs;
        };
        if (live <= 256) {
            std::vector<Kept> kept;
            for (int r = 0; r < int(live); ++r) {
                Kept k;
                for (int c = 0; c < int(cols.size()); ++c) k.cells.push_back(text(r, c));
                k.data = rowData[order[size_t(r)]];
                const auto it = attrs.find(order[size_t(r)]);
                if (it != attrs.end()) k.attrs = std::move(it->second);
                kept.push_back(std::move(k));
            }
            for (GridCol& col : cols) {
                col.chars.clear();
                col.spans.clear();
                col.values.clear();
                col.texts.clear();
                col.unused = 0;
            }
            rowData.clear();
            attrs.clear();
            for (size_t r = 0; r < kept.size(); ++r) {
                const quint32 slot = newSlot();
                order[r] = slot;
                for (int c = 0; c < int(cols.size()); ++c) put(slot, c, kept[r].cells[size_t(c)], int(r));
                rowData[slot] = kept[r].data;
                if (!kept[r].attrs.empty()) attrs[slot] = std::move(kept[r].attrs);
            }
            return;
        }
        // Many rows stay: the live slots move to the front, in row order.
        std::vector<quint32> newOf(total, quint32(-1));
        for (size_t r = 0; r < live; ++r) newOf[order[r]] = quint32(r);
        for (GridCol& col : cols) {
            if (col.kind == flexKindText) {
                std::vector<Span> spans(live);
                for (size_t r = 0; r < live; ++r) spans[r] = col.spans[order[r]];
                col.spans.swap(spans);
                compactText(col);
            } else if (col.kind != flexKindRowNumber) {
                std::vector<qint64> values(live);
                for (size_t r = 0; r < live; ++r) values[r] = col.values[order[r]];
                col.values.swap(values);
            }
            std::unordered_map<quint32, QString> texts;
            for (auto& [slot, t] : col.texts)
                if (newOf[slot] != quint32(-1)) texts.emplace(newOf[slot], std::move(t));
            col.texts.swap(texts);
        }
        std::vector<int> data(live);
        for (size_t r = 0; r < live; ++r) data[r] = rowData[order[r]];
        rowData.swap(data);
        std::unordered_map<quint32, std::vector<CellAttr>> a;
        for (auto& [slot, cells] : attrs)
            if (newOf[slot] != quint32(-1)) a.emplace(newOf[slot], std::move(cells));
        attrs.swap(a);
        for (size_t r = 0; r < live; ++r) order[r] = quint32(r);
    }

    // A column changes kind with the texts it shows.
    void setKind(int c, int kind)
    {
        GridCol& col = cols[size_t(c)];
        if (col.kind == kind) return;
        std::vector<QString> shown(slotCount());
        for (int r = 0; r < int(order.size()); ++r) shown[order[size_t(r)]] = text(r, c);
        col.kind = kind;
        col.chars.clear();
        col.spans.assign(kind == flexKindText ? slotCount() : 0, Span{});
        col.values.assign(isValueKind(kind) ? slotCount() : 0, kNoValue);
        col.texts.clear();
        col.unused = 0;
        for (int r = 0; r < int(order.size()); ++r) put(order[size_t(r)], c, shown[order[size_t(r)]], r);
    }

    void setRowCount(int n)
    {
        const int old = int(order.size());
        if (n > old) {
            beginInsertRows({}, old, n - 1);
            order.reserve(size_t(n));
            for (int i = old; i < n; ++i) order.push_back(newSlot());
            endInsertRows();
        } else if (n < old) {
            beginRemoveRows({}, n, old - 1);
            order.resize(size_t(n));
            reclaim();
            endRemoveRows();
        }
    }

    void setColCount(int n)
    {
        const int old = int(cols.size());
        if (n == old) return;
        if (n > old) beginInsertColumns({}, old, n - 1);
        else beginRemoveColumns({}, n, old - 1);
        cols.resize(size_t(n));
        for (int c = old; c < n; ++c) cols[size_t(c)].spans.resize(slotCount());
        for (auto& [slot, a] : attrs) a.resize(size_t(n));
        if (n > old) endInsertColumns();
        else endRemoveColumns();
    }

    void insertRow(int at, quint32 slot)
    {
        beginInsertRows({}, at, at);
        order.insert(order.begin() + at, slot);
        endInsertRows();
    }

    void removeRow(int at)
    {
        beginRemoveRows({}, at, at);
        order.erase(order.begin() + at);
        reclaim();
        endRemoveRows();
    }

    // Slots filled since `first` become the rows after the last one.
    void showSlotsFrom(quint32 first)
    {
        const int n = int(slotCount()) - int(first);
        if (n <= 0) return;
        beginInsertRows({}, int(order.size()), int(order.size()) + n - 1);
        for (quint32 s = first; s < quint32(slotCount()); ++s) order.push_back(s);
        endInsertRows();
    }

    void changed(int r0, int c0, int r1, int c1) { emit dataChanged(index(r0, c0), index(r1, c1)); }

private:
    FlexGrid* m_grid;
};

// Paints fixed cells like headings, the selection, and the focus frame of the
// current cell; the view's own selection is not used.
class FlexGridDelegate : public QStyledItemDelegate {
public:
    explicit FlexGridDelegate(FlexGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const int r = index.row(), c = index.column();
        if (r == m_grid->m_row && c == m_grid->m_col && !m_grid->isFixed(r, c)) {
            painter->save();
            QPen pen(option.palette.color(QPalette::Text));
            pen.setStyle(Qt::DotLine);
            painter->setPen(pen);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
            painter->restore();
        }
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
        const int r = index.row(), c = index.column();
        const bool ownBack = index.data(Qt::BackgroundRole).isValid();
        if (m_grid->isFixed(r, c)) {
            if (!ownBack) option->backgroundBrush = option->palette.button();
            option->palette.setColor(QPalette::Text, option->palette.color(QPalette::ButtonText));
        } else if (m_grid->inSelection(r, c) && !(r == m_grid->m_row && c == m_grid->m_col)) {
            option->backgroundBrush = option->palette.highlight();
            option->palette.setColor(QPalette::Text, option->palette.color(QPalette::HighlightedText));
        }
        // A text that fits its cell but for a pixel or two of the margins
        // shows whole: only a text cut for want of width ends in "…".
        if (option->textElideMode != Qt::ElideNone && !option->text.isEmpty() &&
            !FlexGrid::textCut(option->fontMetrics.horizontalAdvance(option->text), option->rect.width()))
            option->textElideMode = Qt::ElideNone;
        if (option->features & QStyleOptionViewItem::HasDecoration) {
            const QPixmap pix = qvariant_cast<QPixmap>(index.data(Qt::DecorationRole));
            if (!pix.isNull()) option->decorationSize = pix.deviceIndependentSize().toSize();
        }
    }

private:
    FlexGrid* m_grid;
};

// One of the views that keep the fixed cells in place. It shows the grid's
// model through the grid's delegate, takes no focus and no scrolling of its
// own, and hands its mouse to the grid, which reads every press in the
// coordinates of the whole cell area.
class FlexGridPane : public QTableView {
public:
    FlexGridPane(FlexGrid* grid, const char* name) : QTableView(grid), m_grid(grid)
    {
        setObjectName(QLatin1String(name));
        setModel(grid->m_model);
        setItemDelegate(grid->itemDelegate());
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::NoFocus);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSelectionMode(QAbstractItemView::NoSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setTabKeyNavigation(false);
        setAutoScroll(false);
        setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
        setWordWrap(false);
        horizontalHeader()->hide();
        verticalHeader()->hide();
        horizontalHeader()->setMinimumSectionSize(0);
        verticalHeader()->setMinimumSectionSize(0);
        horizontalHeader()->setDefaultSectionSize(grid->horizontalHeader()->defaultSectionSize());
        verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
        viewport()->setMouseTracking(true);
    }

    // The grid moves the pane; scrolling to a cell is the grid's business.
    void scrollTo(const QModelIndex&, ScrollHint = EnsureVisible) override {}

protected:
    void updateGeometries() override
    {
        QTableView::updateGeometries();
        m_grid->followScroll(this);
    }
    void paintEvent(QPaintEvent* event) override
    {
        m_grid->beforePaint();
        QTableView::paintEvent(event);
    }
    void mousePressEvent(QMouseEvent* e) override { m_grid->pressAt(e, area(e)); }
    void mouseMoveEvent(QMouseEvent* e) override { m_grid->moveAt(e, area(e)); }
    void mouseReleaseEvent(QMouseEvent* e) override { m_grid->releaseAt(e, area(e)); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { m_grid->doubleClickAt(e, area(e)); }
    void wheelEvent(QWheelEvent* e) override { QCoreApplication::sendEvent(m_grid->viewport(), e); }

private:
    QPointF area(const QMouseEvent* e) const { return m_grid->areaPosition(viewport(), e->position()); }

    FlexGrid* m_grid;
};

// ---------------------------------------------------------------------------

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), m_model(new FlexGridModel(this))
{
    m_model->cols.resize(2);
    m_model->order.push_back(m_model->newSlot());
    m_model->order.push_back(m_model->newSlot());
    setModel(m_model);
    setItemDelegate(new FlexGridDelegate(this));
    // The headers are never seen: they only keep the view's margins as wide
    // and as high as the fixed cells, and the panes cover them.
    horizontalHeader()->setFixedHeight(0);
    verticalHeader()->setFixedWidth(0);
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultSectionSize(64);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setCornerButtonEnabled(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    viewport()->setMouseTracking(true);

    // A scroll by the user moves TopRow and LeftCol; a requested position
    // that the view cannot show yet (not laid out) is kept until it can.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_applyingScroll && !m_scrollPending) m_topRow = value + FixedRows();
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_applyingScroll && !m_scrollPending) m_leftCol = colAtScrollValue(value);
    });

    m_fixedRows = new FlexGridPane(this, "FixedRows");
    m_fixedCols = new FlexGridPane(this, "FixedCols");
    m_corner = new FlexGridPane(this, "FixedCorner");
    for (int c = 0; c < Cols(); ++c) applyColumn(c);
    applyFixed();
}

FlexGrid::~FlexGrid() = default;

// --- shape ------------------------------------------------------------------

int FlexGrid::Rows() const { return int(m_model->order.size()); }
int FlexGrid::Cols() const { return int(m_model->cols.size()); }
int FlexGrid::FixedRows() const { return m_model->fixedRows; }
int FlexGrid::FixedCols() const { return m_model->fixedCols; }

void FlexGrid::setRows(int rows)
{
    if (rows < 0) badValue();
    m_model->setRowCount(rows);
    m_model->fixedRows = std::min(m_model->fixedRows, rows);
    if (m_mergeRow.size() > size_t(rows)) m_mergeRow.resize(size_t(rows));
    if (m_hiddenRows != FixedRows()) applyFixed();
    clampCurrent();
    markMergeDirty();
}

void FlexGrid::setCols(int cols)
{
    if (cols < 0) badValue();
    const int old = Cols();
    m_model->setColCount(cols);
    m_model->fixedCols = std::min(m_model->fixedCols, cols);
    for (int c = old; c < cols; ++c) applyColumn(c);
    applyFixed();
    clampCurrent();
    markMergeDirty();
}

void FlexGrid::setFixedRows(int rows)
{
    if (rows < 0 || rows > Rows()) badValue();
    m_model->fixedRows = rows;
    applyFixed();
    if (m_row < rows && rows < Rows()) setCurrent(rows, m_col, rows, m_colSel);
    cellsChanged(0, 0, Rows() - 1, Cols() - 1);
    markMergeDirty();
}

void FlexGrid::setFixedCols(int cols)
{
    if (cols < 0 || cols > Cols()) badValue();
    m_model->fixedCols = cols;
    applyFixed();
    if (m_col < cols && cols < Cols()) setCurrent(m_row, cols, m_rowSel, cols);
    cellsChanged(0, 0, Rows() - 1, Cols() - 1);
    markMergeDirty();
}

// --- texts ------------------------------------------------------------------

void FlexGrid::checkRow(int row) const
{
    if (row < 0 || row >= Rows()) throw RuntimeError(381, QStringLiteral("Subscript out of range"));
}

void FlexGrid::checkCol(int col) const
{
    if (col < 0 || col >= Cols()) throw RuntimeError(381, QStringLiteral("Subscript out of range"));
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    return m_model->text(row, col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    checkRow(row);
    checkCol(col);
    m_model->put(m_model->order[size_t(row)], col, text, row);
    cellsChanged(row, col, row, col);
    markMergeDirty();
}

QString FlexGrid::Text() const { return TextMatrix(m_row, m_col); }
void FlexGrid::setText(const QString& text) { setTextMatrix(m_row, m_col, text); }

QString FlexGrid::FormatString() const { return m_formatString; }

void FlexGrid::setFormatString(const QString& format)
{
    m_formatString = format;
    if (format.isEmpty()) return;
    const int semicolon = format.indexOf(QLatin1Char(';'));
    const QString colPart = semicolon < 0 ? format : format.left(semicolon);
    const QStringList entries = colPart.split(QLatin1Char('|'));
    setCols(int(entries.size()));
    if (Rows() == 0) setRows(1);
    // Widths fit the heading as written, trailing blanks included: the old
    // designs widen columns with blanks.
    constexpr int padding = 120;
    for (int c = 0; c < int(entries.size()); ++c) {
        QString text = entries[c];
        if (!text.isEmpty()) {
            const QChar p = text.at(0);
            const int align = p == QLatin1Char('<')   ? flexAlignLeftCenter
                              : p == QLatin1Char('^') ? flexAlignCenterCenter
                              : p == QLatin1Char('>') ? flexAlignRightCenter
                                                      : -1;
            if (align >= 0) {
                setColAlignment(c, align);
                text.remove(0, 1);
            }
        }
        setTextMatrix(0, c, text);
        setColWidth(c, int(std::lround(TextWidthTwips(font(), text))) + padding);
    }
    if (semicolon >= 0 && Cols() > 0) {
        const QStringList rowEntries = format.mid(semicolon + 1).split(QLatin1Char('|'));
        if (Rows() < int(rowEntries.size()) + 1) setRows(int(rowEntries.size()) + 1);
        int widest = ColWidth(0);
        for (int i = 0; i < int(rowEntries.size()); ++i) {
            QString text = rowEntries[i];
            if (!text.isEmpty() && QStringLiteral("<^>").contains(text.at(0))) text.remove(0, 1);
            setTextMatrix(i + 1, 0, text);
            widest = std::max(widest, int(std::lround(TextWidthTwips(font(), text))) + padding);
        }
        setColWidth(0, widest);
    }
}

void FlexGrid::AddItem(const QString& item) { AddItem(item, Rows()); }

void FlexGrid::AddItem(const QString& item, int index)
{
    if (index < 0 || index > Rows()) badRow();
    const quint32 slot = m_model->newSlot();
    const QStringList parts = item.split(QLatin1Char('\t'));
    for (int c = 0; c < int(parts.size()) && c < Cols(); ++c) m_model->put(slot, c, parts[c], index);
    m_model->insertRow(index, slot);
    if (index < int(m_mergeRow.size())) m_mergeRow.insert(m_mergeRow.begin() + index, false);
    if (index < FixedRows()) applyFixed();
    markMergeDirty();
}

void FlexGrid::RemoveItem(int index)
{
    checkRow(index);
    m_model->removeRow(index);
    if (index < m_model->fixedRows) {
        --m_model->fixedRows;
        applyFixed();
    }
    if (index < int(m_mergeRow.size())) m_mergeRow.erase(m_mergeRow.begin() + index);
    clampCurrent();
    markMergeDirty();
}

void FlexGrid::Clear()
{
    for (int r = 0; r < Rows(); ++r)
        for (int c = 0; c < Cols(); ++c) m_model->put(m_model->order[size_t(r)], c, {}, r);
    m_model->attrs.clear();
    if (Rows() > 0 && Cols() > 0) cellsChanged(0, 0, Rows() - 1, Cols() - 1);
    markMergeDirty();
}

void FlexGrid::setRowsData(std::vector<std::vector<QString>> rows)
{
    FlexGridFill fill(*this);
    for (std::vector<QString>& cells : rows) {
        fill.row();
        for (int c = 0; c < int(cells.size()) && c < Cols(); ++c) fill.text(c, cells[size_t(c)]);
        cells = {};
    }
    if (rows.empty()) setRows(FixedRows());
}

void FlexGrid::appendRow(std::vector<QString> cells)
{
    const quint32 slot = m_model->newSlot();
    for (int c = 0; c < int(cells.size()) && c < Cols(); ++c) m_model->put(slot, c, cells[size_t(c)], Rows());
    m_model->insertRow(Rows(), slot);
    markMergeDirty();
}

void FlexGrid::reserveRows(int rows) { m_model->order.reserve(size_t(std::max(rows, 0))); }

int FlexGrid::ColKind(int col) const
{
    checkCol(col);
    return m_model->cols[size_t(col)].kind;
}

void FlexGrid::setColKind(int col, int kind)
{
    checkCol(col);
    if (kind < flexKindText || kind > flexKindRowNumber) badValue();
    m_model->setKind(col, kind);
    if (Rows() > 0) cellsChanged(0, col, Rows() - 1, col);
    markMergeDirty();
}

void FlexGrid::forEachText(int col, int firstRow, int lastRow, const std::function<void(QStringView)>& each) const
{
    checkCol(col);
    const GridCol& c = m_model->cols[size_t(col)];
    CellTextBuffer buf;
    Span last{quint32(-1), 0};
    for (int r = std::max(firstRow, 0); r <= lastRow && r < Rows(); ++r) {
        if (c.kind == flexKindText && c.texts.empty()) {
            // Texts a fill stored once for a run of rows are visited once.
            const Span s = c.spans[m_model->order[size_t(r)]];
            if (s.at == last.at && s.size == last.size) continue;
            last = s;
        }
        each(m_model->view(r, col, buf));
    }
}

void FlexGrid::numberRows(int col)
{
    checkCol(col);
    GridCol& c = m_model->cols[size_t(col)];
    for (int r = FixedRows(); r < Rows(); ++r) {
        if (c.kind == flexKindRowNumber) c.texts.erase(m_model->order[size_t(r)]);
        else m_model->put(m_model->order[size_t(r)], col, QString::number(r), r);
    }
    if (Rows() > FixedRows()) cellsChanged(FixedRows(), col, Rows() - 1, col);
    markMergeDirty();
}

int FlexGrid::FindRow(int col, const QString& text, int fromRow) const
{
    checkCol(col);
    CellTextBuffer buf;
    for (int r = std::max(fromRow, 0); r < Rows(); ++r)
        if (m_model->view(r, col, buf) == text) return r;
    return -1;
}

// --- filling many rows ---------------------------------------------------------

FlexGridFill::FlexGridFill(FlexGrid& grid) : m_grid(grid) {}

FlexGridFill::~FlexGridFill() { end(); }

void FlexGridFill::row()
{
    FlexGridModel& m = *m_grid.m_model;
    if (!m_started) {
        m_started = true;
        // The rows shown so far go now, so the old and the new list are never held together.
        m_grid.setRows(m_grid.FixedRows());
        m_first = quint32(m.slotCount());
    }
    m_slot = m.newSlot();
    ++m_rows;
}

void FlexGridFill::text(int col, QStringView text)
{
    m_grid.m_model->put(m_slot, col, text, -1, m_slot > m_first);
}

void FlexGridFill::amount(int col, std::optional<qint64> cents)
{
    m_grid.m_model->putValue(m_slot, col, flexKindAmount, cents.value_or(kNoValue));
}

bool FlexGridFill::date(int col, QStringView text)
{
    const auto v = packStoredDate(text);
    if (v) m_grid.m_model->putValue(m_slot, col, flexKindDate, *v);
    return v.has_value();
}

void FlexGridFill::date(int col, const QDate& date, const QTime& time)
{
    m_grid.m_model->putValue(m_slot, col, flexKindDate, date.isValid() ? packDateTime(date, time) : kNoValue);
}

void FlexGridFill::flag(int col, std::optional<bool> flag)
{
    m_grid.m_model->putValue(m_slot, col, flexKindFlag, flag ? qint64(*flag) : kNoValue);
}

void FlexGridFill::end()
{
    if (!m_started || m_ended) return;
    m_ended = true;
    m_grid.m_model->showSlotsFrom(m_first);
    m_grid.clampCurrent();
    m_grid.markMergeDirty();
}

// --- columns and rows ---------------------------------------------------------

int FlexGrid::ColWidth(int col) const
{
    checkCol(col);
    const int w = m_model->cols[size_t(col)].width;
    return w >= 0 ? w : pixelsToTwips(horizontalHeader()->defaultSectionSize());
}

void FlexGrid::setColWidth(int col, int twips)
{
    checkCol(col);
    if (twips < -1) badValue();
    m_model->cols[size_t(col)].width = twips;
    applyColumn(col);
}

// The scrolling views leave out the fixed columns (the fixed-rows view and
// the grid itself); the views of the fixed columns show every column from
// the left and are simply too narrow for the others.
void FlexGrid::applyColumn(int col)
{
    const int w = m_model->cols[size_t(col)].width;
    const int px = w < 0 ? horizontalHeader()->defaultSectionSize() : twipsToPixelsRounded(w);
    const bool fixed = col < FixedCols();
    auto apply = [&](QTableView* view, bool leaveOut) {
        if (!view) return;
        const bool hide = w == 0 || leaveOut;
        view->setColumnHidden(col, hide);
        if (!hide) view->setColumnWidth(col, px);
    };
    apply(this, fixed);
    apply(m_fixedRows, fixed);
    apply(m_fixedCols, false);
    apply(m_corner, false);
    if (fixed) updateGeometries();
}

// The scrolling views hide the fixed rows and columns, so their first row
// and column are the first non-fixed ones; rows that stop being fixed come
// back at the height the fixed-rows view kept for them.
void FlexGrid::applyFixed()
{
    if (!m_corner) return;
    const int fr = FixedRows(), fc = FixedCols();
    const int rows = std::min(Rows(), std::max(fr, m_hiddenRows) + 1);
    for (int r = 0; r < rows; ++r) {
        const bool hide = r < fr;
        for (QTableView* view : {static_cast<QTableView*>(this), static_cast<QTableView*>(m_fixedCols)}) {
            if (view->isRowHidden(r) == hide) continue;
            view->setRowHidden(r, hide);
            if (!hide) view->setRowHeight(r, rowPixels(r));
        }
    }
    m_hiddenRows = fr;
    const int cols = std::min(Cols(), std::max(fc, m_hiddenCols) + 1);
    m_hiddenCols = fc;
    for (int c = 0; c < cols; ++c) applyColumn(c);
    updateGeometries();
}

int FlexGrid::RowHeight(int row) const
{
    checkRow(row);
    return pixelsToTwips(rowPixels(row));
}

void FlexGrid::setRowHeight(int row, int twips)
{
    checkRow(row);
    if (twips < -1) badValue();
    const int px = twips < 0 ? verticalHeader()->defaultSectionSize() : twipsToPixelsRounded(twips);
    for (QTableView* view : {static_cast<QTableView*>(this), static_cast<QTableView*>(m_fixedRows),
                             static_cast<QTableView*>(m_fixedCols), static_cast<QTableView*>(m_corner)}) {
        // A hidden row takes its height when it shows again.
        if (!view->isRowHidden(row)) view->setRowHeight(row, px);
    }
    if (row < FixedRows()) updateGeometries();
}

// The fixed-rows view hides no row, so it knows every row's height.
int FlexGrid::rowPixels(int row) const { return m_fixedRows->verticalHeader()->sectionSize(row); }

int FlexGrid::colPixels(int col) const
{
    if (col < 0 || col >= Cols()) return 0;
    const int w = m_model->cols[size_t(col)].width;
    return w == 0 ? 0 : w < 0 ? horizontalHeader()->defaultSectionSize() : twipsToPixelsRounded(w);
}

int FlexGrid::fixedWidthPixels() const
{
    int w = 0;
    for (int c = 0; c < FixedCols(); ++c) w += colPixels(c);
    return w;
}

int FlexGrid::fixedHeightPixels() const
{
    int h = 0;
    for (int r = 0; r < FixedRows(); ++r) h += rowPixels(r);
    return h;
}

int FlexGrid::ColAlignment(int col) const
{
    checkCol(col);
    return m_model->cols[size_t(col)].alignment;
}

void FlexGrid::setColAlignment(int col, int alignment)
{
    checkCol(col);
    if (alignment < 0 || alignment > 9) badValue();
    m_model->cols[size_t(col)].alignment = alignment;
    if (Rows() > 0) cellsChanged(0, col, Rows() - 1, col);
}

int FlexGrid::FixedAlignment(int col) const
{
    checkCol(col);
    return m_model->cols[size_t(col)].fixedAlignment;
}

void FlexGrid::setFixedAlignment(int col, int alignment)
{
    checkCol(col);
    if (alignment < 0 || alignment > 9) badValue();
    m_model->cols[size_t(col)].fixedAlignment = alignment;
    if (Rows() > 0) cellsChanged(0, col, Rows() - 1, col);
}

int FlexGrid::RowData(int row) const
{
    checkRow(row);
    return m_model->rowData[m_model->order[size_t(row)]];
}

void FlexGrid::setRowData(int row, int value)
{
    checkRow(row);
    m_model->rowData[m_model->order[size_t(row)]] = value;
}

// --- current cell and selection -------------------------------------------------

int FlexGrid::Row() const { return m_row; }
int FlexGrid::Col() const { return m_col; }
int FlexGrid::RowSel() const { return m_rowSel; }
int FlexGrid::ColSel() const { return m_colSel; }

void FlexGrid::setRow(int row)
{
    if (row < 0 || row >= Rows()) badRow();
    setCurrent(row, m_col, row, m_col);
}

void FlexGrid::setCol(int col)
{
    if (col < 0 || col >= Cols()) badCol();
    setCurrent(m_row, col, m_row, col);
}

void FlexGrid::setRowSel(int row)
{
    if (row < 0 || row >= Rows()) badRow();
    setCurrent(m_row, m_col, row, m_colSel);
}

void FlexGrid::setColSel(int col)
{
    if (col < 0 || col >= Cols()) badCol();
    setCurrent(m_row, m_col, m_rowSel, col);
}

void FlexGrid::setCurrent(int row, int col, int rowSel, int colSel)
{
    const bool moved = row != m_row || col != m_col;
    const bool selChanged = moved || rowSel != m_rowSel || colSel != m_colSel;
    if (moved) emit LeaveCell();
    m_row = row;
    m_col = col;
    m_rowSel = rowSel;
    m_colSel = colSel;
    // Fixed cells show neither the selection nor the current cell.
    if (selChanged) viewport()->update();
    if (moved) {
        emit EnterCell();
        emit RowColChange();
    }
    if (selChanged) emit SelChange();
}

void FlexGrid::clampCurrent()
{
    auto clamp = [](int v, int n) { return std::max(0, std::min(v, n - 1)); };
    m_row = clamp(m_row, Rows());
    m_rowSel = clamp(m_rowSel, Rows());
    m_col = clamp(m_col, Cols());
    m_colSel = clamp(m_colSel, Cols());
    viewport()->update();
}

bool FlexGrid::isFixed(int row, int col) const { return row < FixedRows() || col < FixedCols(); }

bool FlexGrid::inSelection(int row, int col) const
{
    return row >= std::min(m_row, m_rowSel) && row <= std::max(m_row, m_rowSel) &&
           col >= std::min(m_col, m_colSel) && col <= std::max(m_col, m_colSel);
}

int FlexGrid::TopRow() const { return m_topRow; }
int FlexGrid::LeftCol() const { return m_leftCol; }

void FlexGrid::setTopRow(int row)
{
    if (row < 0 || row >= Rows()) badRow();
    m_topRow = std::max(row, FixedRows());
    m_scrollPending = true;
    applyScroll();
}

void FlexGrid::setLeftCol(int col)
{
    if (col < 0 || col >= Cols()) badCol();
    m_leftCol = std::max(col, FixedCols());
    m_scrollPending = true;
    applyScroll();
}

// The scroll bars count the rows and columns the scrolling view shows: the
// fixed ones are not among them, nor are hidden columns.
int FlexGrid::scrollValueOfCol(int col) const
{
    int value = 0;
    for (int c = FixedCols(); c < col && c < Cols(); ++c)
        if (!isColumnHidden(c)) ++value;
    return value;
}

int FlexGrid::colAtScrollValue(int value) const
{
    int last = FixedCols();
    for (int c = FixedCols(); c < Cols(); ++c) {
        if (isColumnHidden(c)) continue;
        last = c;
        if (value-- == 0) break;
    }
    return last;
}

// A position asked for before the grid has laid out its rows waits for the
// layout. On screen, once laid out, a position beyond the last page shows the
// last page and TopRow and LeftCol tell what is shown: a request kept waiting
// there would stop them following the user's scrolling.
void FlexGrid::applyScroll()
{
    const bool onScreen = isVisible();
    if (onScreen) executeDelayedItemsLayout();
    m_applyingScroll = true;
    const int v = m_topRow - FixedRows(), h = scrollValueOfCol(m_leftCol);
    verticalScrollBar()->setValue(v);
    horizontalScrollBar()->setValue(h);
    const bool reached = verticalScrollBar()->value() == v && horizontalScrollBar()->value() == h;
    m_scrollPending = !reached && !onScreen;
    if (!reached && onScreen) {
        m_topRow = verticalScrollBar()->value() + FixedRows();
        if (horizontalScrollBar()->value() != h) m_leftCol = colAtScrollValue(horizontalScrollBar()->value());
    }
    m_applyingScroll = false;
}

void FlexGrid::updateGeometries()
{
    if (!m_corner) {
        QTableView::updateGeometries();
        return;
    }
    const int w = fixedWidthPixels(), h = fixedHeightPixels();
    if (verticalHeader()->width() != w || verticalHeader()->minimumWidth() != w) verticalHeader()->setFixedWidth(w);
    if (horizontalHeader()->height() != h || horizontalHeader()->minimumHeight() != h)
        horizontalHeader()->setFixedHeight(h);
    QTableView::updateGeometries();
    // The panes lie where the headers are, over them.
    const QRect top = horizontalHeader()->geometry(), left = verticalHeader()->geometry();
    m_fixedRows->setGeometry(top);
    m_fixedCols->setGeometry(left);
    m_corner->setGeometry(left.x(), top.y(), left.width(), top.height());
    for (FlexGridPane* pane : {m_fixedRows, m_fixedCols, m_corner}) {
        pane->raise();
        followScroll(pane);
    }
    if (m_scrollPending) applyScroll();
}

void FlexGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dx) followScroll(m_fixedRows);
    if (dy) followScroll(m_fixedCols);
}

// The fixed rows go sideways with the grid and the fixed columns up and
// down; both hide what the grid hides in that direction, so the same scroll
// offset shows the same columns or rows.
void FlexGrid::followScroll(FlexGridPane* pane)
{
    if (!m_corner) return;
    auto follow = [](QScrollBar* own, QHeaderView* ownHeader, const QScrollBar* grid, const QHeaderView* gridHeader,
                     QWidget* viewport) {
        own->setRange(grid->minimum(), grid->maximum());
        own->setValue(grid->value());
        if (ownHeader->offset() != gridHeader->offset()) {
            ownHeader->setOffset(gridHeader->offset());
            viewport->update();
        }
    };
    if (pane == m_fixedRows)
        follow(pane->horizontalScrollBar(), pane->horizontalHeader(), horizontalScrollBar(), horizontalHeader(),
               pane->viewport());
    else if (pane == m_fixedCols)
        follow(pane->verticalScrollBar(), pane->verticalHeader(), verticalScrollBar(), verticalHeader(),
               pane->viewport());
}

QTableView* FlexGrid::fixedRowsView() const { return m_fixedRows; }
QTableView* FlexGrid::fixedColsView() const { return m_fixedCols; }
QTableView* FlexGrid::fixedCornerView() const { return m_corner; }

void FlexGrid::updateViews()
{
    viewport()->update();
    if (!m_corner) return;
    for (FlexGridPane* pane : {m_fixedRows, m_fixedCols, m_corner}) pane->viewport()->update();
}

int FlexGrid::MouseRow() const { return m_mouseRow; }
int FlexGrid::MouseCol() const { return m_mouseCol; }

// --- cell attributes --------------------------------------------------------------

QColor FlexGrid::CellBackColor() const { return CellBackColor(m_row, m_col); }

QColor FlexGrid::CellBackColor(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    const CellAttr* a = m_model->attr(row, col);
    return a ? a->back : QColor();
}

void FlexGrid::setCellBackColor(const QColor& color)
{
    checkRow(m_row);
    checkCol(m_col);
    m_model->attrForWrite(m_row, m_col).back = color;
    cellsChanged(m_row, m_col, m_row, m_col);
}

QColor FlexGrid::CellForeColor() const { return CellForeColor(m_row, m_col); }

QColor FlexGrid::CellForeColor(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    const CellAttr* a = m_model->attr(row, col);
    return a ? a->fore : QColor();
}

void FlexGrid::setCellForeColor(const QColor& color)
{
    checkRow(m_row);
    checkCol(m_col);
    m_model->attrForWrite(m_row, m_col).fore = color;
    cellsChanged(m_row, m_col, m_row, m_col);
}

bool FlexGrid::CellFontItalic() const { return CellFontItalic(m_row, m_col); }

bool FlexGrid::CellFontItalic(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    const CellAttr* a = m_model->attr(row, col);
    return a && a->italic;
}

void FlexGrid::setCellFontItalic(bool italic)
{
    checkRow(m_row);
    checkCol(m_col);
    m_model->attrForWrite(m_row, m_col).italic = italic;
    cellsChanged(m_row, m_col, m_row, m_col);
}

QPixmap FlexGrid::CellPicture() const
{
    checkRow(m_row);
    checkCol(m_col);
    const CellAttr* a = m_model->attr(m_row, m_col);
    return a ? a->picture : QPixmap();
}

void FlexGrid::setCellPicture(const QPixmap& picture)
{
    checkRow(m_row);
    checkCol(m_col);
    m_model->attrForWrite(m_row, m_col).picture = picture;
    cellsChanged(m_row, m_col, m_row, m_col);
}

// Cell positions in the cell area: fixed cells where the corner shows them,
// the others after the fixed ones at the grid's scroll position.
int FlexGrid::cellX(int col) const
{
    return col < FixedCols() ? m_corner->columnViewportPosition(col) : fixedWidthPixels() + columnViewportPosition(col);
}

int FlexGrid::cellY(int row) const
{
    return row < FixedRows() ? m_corner->rowViewportPosition(row) : fixedHeightPixels() + rowViewportPosition(row);
}

int FlexGrid::CellLeft() const { return pixelsToTwips(frameWidth() + cellX(m_col)); }
int FlexGrid::CellTop() const { return pixelsToTwips(frameWidth() + cellY(m_row)); }
int FlexGrid::CellWidth() const { return pixelsToTwips(colPixels(m_col)); }
int FlexGrid::CellHeight() const { return pixelsToTwips(rowPixels(m_row)); }

// --- merging ----------------------------------------------------------------------

int FlexGrid::MergeCells() const { return m_mergeCells; }

void FlexGrid::setMergeCells(int setting)
{
    if (setting < flexMergeNever || setting > flexMergeRestrictAll) badValue();
    m_mergeCells = setting;
    markMergeDirty();
}

bool FlexGrid::MergeRow(int row) const
{
    checkRow(row);
    return size_t(row) < m_mergeRow.size() && m_mergeRow[size_t(row)];
}

void FlexGrid::setMergeRow(int row, bool merge)
{
    checkRow(row);
    if (m_mergeRow.size() <= size_t(row)) m_mergeRow.resize(size_t(row) + 1, false);
    m_mergeRow[size_t(row)] = merge;
    markMergeDirty();
}

bool FlexGrid::MergeCol(int col) const
{
    checkCol(col);
    return m_model->cols[size_t(col)].merge;
}

void FlexGrid::setMergeCol(int col, bool merge)
{
    checkCol(col);
    m_model->cols[size_t(col)].merge = merge;
    markMergeDirty();
}

void FlexGrid::markMergeDirty()
{
    if (m_mergeCells == flexMergeNever && !m_mergeDirty) return;
    m_mergeDirty = true;
    updateViews();
}

// Spans are worked out before painting, not on every cell write, so a fill
// of many rows does not redo them row by row.
void FlexGrid::rebuildSpans()
{
    m_mergeDirty = false;
    clearSpans();
    for (FlexGridPane* pane : {m_fixedRows, m_fixedCols, m_corner}) pane->clearSpans();
    if (m_mergeCells == flexMergeNever) return;
    const int rows = Rows(), cols = Cols(), fr = FixedRows(), fc = FixedCols();
    const bool restrictCols = m_mergeCells == flexMergeRestrictColumns || m_mergeCells == flexMergeRestrictAll;
    const bool restrictRows = m_mergeCells == flexMergeRestrictRows || m_mergeCells == flexMergeRestrictAll;
    CellTextBuffer bufA, bufB;
    auto same = [&](int r0, int c0, int r1, int c1) {
        const QStringView a = m_model->view(r0, c0, bufA);
        return !a.isEmpty() && a == m_model->view(r1, c1, bufB);
    };
    const bool anyRowMerge = std::find(m_mergeRow.begin(), m_mergeRow.end(), true) != m_mergeRow.end();
    std::vector<char> inVertical(anyRowMerge ? size_t(rows) * size_t(cols) : 0, 0);

    // Down the merged columns; with restriction a cell joins the one above
    // only where the merged columns to its left join too.
    std::vector<char> leftJoins(size_t(rows), 1);
    for (int c = 0; c < cols; ++c) {
        if (!m_model->cols[size_t(c)].merge) continue;
        std::vector<char> joins(size_t(rows), 0);
        for (int r = 1; r < rows; ++r)
            joins[size_t(r)] = r != fr && same(r, c, r - 1, c) &&
                               (!restrictCols || leftJoins[size_t(r)]);
        int start = 0;
        for (int r = 1; r <= rows; ++r) {
            if (r < rows && joins[size_t(r)]) continue;
            if (r - start > 1) {
                setCellSpan(start, c, r - start, 1);
                if (anyRowMerge)
                    for (int k = start; k < r; ++k) inVertical[size_t(k) * size_t(cols) + size_t(c)] = 1;
            }
            start = r;
        }
        if (restrictCols) leftJoins = std::move(joins);
    }

    // Across the merged rows, around the cells already merged downwards.
    std::vector<char> aboveJoins(size_t(cols), 1);
    for (int r = 0; r < rows && anyRowMerge; ++r) {
        if (!MergeRow(r)) continue;
        auto covered = [&](int c) { return inVertical[size_t(r) * size_t(cols) + size_t(c)] != 0; };
        std::vector<char> joins(size_t(cols), 0);
        for (int c = 1; c < cols; ++c)
            joins[size_t(c)] = c != fc && same(r, c, r, c - 1) && !covered(c) &&
                               !covered(c - 1) && (!restrictRows || aboveJoins[size_t(c)]);
        int start = 0;
        for (int c = 1; c <= cols; ++c) {
            if (c < cols && joins[size_t(c)]) continue;
            if (c - start > 1) setCellSpan(r, start, 1, c - start);
            start = c;
        }
        if (restrictRows) aboveJoins = std::move(joins);
    }
}

// Fixed and non-fixed cells never merge, so a span lies in one view.
void FlexGrid::setCellSpan(int row, int col, int rows, int cols)
{
    QTableView* view = row < FixedRows() ? (col < FixedCols() ? static_cast<QTableView*>(m_corner) : m_fixedRows)
                                         : (col < FixedCols() ? static_cast<QTableView*>(m_fixedCols) : this);
    view->setSpan(row, col, rows, cols);
}

// --- sorting ----------------------------------------------------------------------

void FlexGrid::setSort(int order)
{
    if (order < flexSortNone || order > flexSortCustom) badValue();
    if (order == flexSortNone || order == flexSortCustom) return;
    int first = FixedRows(), last = Rows() - 1;
    if (m_row != m_rowSel) {
        first = std::max(first, std::min(m_row, m_rowSel));
        last = std::max(m_row, m_rowSel);
    }
    if (last - first < 1) return;
    const int c0 = std::min(m_col, m_colSel), c1 = std::max(m_col, m_colSel);
    const int n = last - first + 1, keys = c1 - c0 + 1;

    const bool generic = order <= flexSortGenericDescending;
    const bool numeric = order == flexSortNumericAscending || order == flexSortNumericDescending;
    const bool caseSensitive = order >= flexSortStringAscending;
    const bool descending = order % 2 == 0;

    // Values sort by value where that is the order of their texts: amounts
    // as the numbers they show, dates and flags in the order of their texts
    // (fixed-width digits), empty cells first. Any other cell (a text, a
    // value column holding texts, a case-sensitive or text order) sorts by
    // its text as before.
    struct Key {
        bool isNumber = false;
        bool empty = false;
        double number = 0;
        qint64 ordinal = 0;
        std::optional<QCollatorSortKey> text;
    };
    std::vector<Key> k(size_t(n) * size_t(keys));
    QCollator& coll = collator(caseSensitive);
    for (int j = 0; j < keys; ++j) {
        const int c = c0 + j;
        const GridCol& col = m_model->cols[size_t(c)];
        bool byValue = (generic || numeric) && isValueKind(col.kind);
        for (int i = 0; byValue && !col.texts.empty() && i < n; ++i)
            if (col.texts.count(m_model->order[size_t(first + i)])) byValue = false;
        if (byValue) {
            for (int i = 0; i < n; ++i) {
                Key& key = k[size_t(i) * size_t(keys) + size_t(j)];
                const qint64 v = col.values[m_model->order[size_t(first + i)]];
                key.empty = v == kNoValue;
                if (key.empty) continue;
                if (col.kind == flexKindAmount) {
                    key.isNumber = true;
                    key.number = double(v) / 100.0;
                } else {
                    key.ordinal = v;
                }
            }
            continue;
        }
        // Equal texts (often one stored copy) share one collation key.
        QHash<QStringView, int> seen;
        CellTextBuffer buf;
        bool textsNeeded = !generic && !numeric;
        for (int i = 0; i < n; ++i) {
            Key& key = k[size_t(i) * size_t(keys) + size_t(j)];
            const QStringView s = m_model->view(first + i, c, buf);
            key.empty = s.isEmpty();
            key.isNumber = numberOf(s, &key.number);
            if (numeric && !key.isNumber) key.number = 0;
            if (generic && !key.isNumber && !key.empty) textsNeeded = true;
        }
        // Numbers meet texts only when the column holds texts that are no numbers.
        for (int i = 0; textsNeeded && i < n; ++i) {
            Key& key = k[size_t(i) * size_t(keys) + size_t(j)];
            const QStringView s = m_model->view(first + i, c, buf);
            const auto it = seen.constFind(s);
            if (it != seen.constEnd()) {
                key.text = k[size_t(*it) * size_t(keys) + size_t(j)].text;
                continue;
            }
            key.text = coll.sortKey(s.toString());
            if (col.kind == flexKindText) seen.insert(s, i);
        }
    }
    auto compare = [&](int a, int b) {
        for (int j = 0; j < keys; ++j) {
            const Key& x = k[size_t(a) * size_t(keys) + size_t(j)];
            const Key& y = k[size_t(b) * size_t(keys) + size_t(j)];
            int r = 0;
            if (numeric || (generic && x.isNumber && y.isNumber))
                r = x.number < y.number ? -1 : (y.number < x.number ? 1 : 0);
            else if (x.empty || y.empty)
                r = int(y.empty) - int(x.empty);
            else if (!x.text || !y.text)
                r = x.ordinal < y.ordinal ? -1 : (y.ordinal < x.ordinal ? 1 : 0);
            else
                r = x.text->compare(*y.text);
            if (r != 0) return r;
        }
        return 0;
    };
    std::vector<int> perm(static_cast<size_t>(n));
    std::iota(perm.begin(), perm.end(), 0);
    stableSort(perm, [&](int a, int b) { return descending ? compare(a, b) > 0 : compare(a, b) < 0; });

    // Rows move by their slot numbers; their cells stay where they are stored.
    std::vector<quint32> sorted(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) sorted[size_t(i)] = m_model->order[size_t(first + perm[size_t(i)])];
    std::copy(sorted.begin(), sorted.end(), m_model->order.begin() + first);
    cellsChanged(first, 0, last, Cols() - 1);
    markMergeDirty();
}

// --- drawing ----------------------------------------------------------------------

void FlexGrid::clipLongTexts()
{
    setTextElideMode(Qt::ElideNone);
    for (FlexGridPane* pane : {m_fixedRows, m_fixedCols, m_corner}) pane->setTextElideMode(Qt::ElideNone);
}

bool FlexGrid::Redraw() const { return m_redraw; }

void FlexGrid::setRedraw(bool redraw)
{
    if (redraw == m_redraw) return;
    m_redraw = redraw;
    viewport()->setUpdatesEnabled(redraw);
    for (FlexGridPane* pane : {m_fixedRows, m_fixedCols, m_corner}) pane->viewport()->setUpdatesEnabled(redraw);
    if (redraw) {
        if (m_dirty && Rows() > 0 && Cols() > 0) m_model->changed(0, 0, Rows() - 1, Cols() - 1);
        m_dirty = false;
        updateViews();
    }
}

// While the grid is hidden or not redrawing, changes are told to the view
// once when it shows again instead of once per cell.
void FlexGrid::cellsChanged(int row0, int col0, int row1, int col1)
{
    if (!m_redraw || !isVisible()) {
        m_dirty = true;
        return;
    }
    m_model->changed(row0, col0, row1, col1);
}

// Whichever view paints first brings the others up to date.
void FlexGrid::beforePaint()
{
    if (m_dirty && m_redraw) {
        m_dirty = false;
        if (Rows() > 0 && Cols() > 0) m_model->changed(0, 0, Rows() - 1, Cols() - 1);
    }
    if (m_mergeDirty) rebuildSpans();
}

void FlexGrid::paintEvent(QPaintEvent* event)
{
    beforePaint();
    QTableView::paintEvent(event);
}

// --- mouse and keys -----------------------------------------------------------------

namespace {

int vbButton(Qt::MouseButtons buttons)
{
    int b = 0;
    if (buttons & Qt::LeftButton) b |= vbLeftButton;
    if (buttons & Qt::RightButton) b |= vbRightButton;
    if (buttons & Qt::MiddleButton) b |= vbMiddleButton;
    return b;
}

int vbShift(Qt::KeyboardModifiers mods)
{
    int s = 0;
    if (mods & Qt::ShiftModifier) s |= vbShiftMask;
    if (mods & Qt::ControlModifier) s |= vbCtrlMask;
    if (mods & Qt::AltModifier) s |= vbAltMask;
    return s;
}

int vbKeyCode(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

}  // namespace

float FlexGrid::toTwips(qreal pixels) const { return float(pixels * TwipsPerPixel); }

QPointF FlexGrid::areaPosition(const QWidget* from, const QPointF& pos) const
{
    return pos + QPointF(from->mapTo(this, QPoint(0, 0)) - contentsRect().topLeft());
}

void FlexGrid::mouseEventCell(const QPointF& area, int& row, int& col)
{
    const int x = int(std::floor(area.x())), y = int(std::floor(area.y()));
    const int w = fixedWidthPixels(), h = fixedHeightPixels();
    row = y < h ? m_corner->rowAt(y) : rowAt(y - h);
    col = x < w ? m_corner->columnAt(x) : columnAt(x - w);
    m_mouseRow = row;
    m_mouseCol = col;
}

void FlexGrid::pressAt(QMouseEvent* event, const QPointF& area)
{
    setFocus(Qt::MouseFocusReason);
    int r, c;
    mouseEventCell(area, r, c);
    m_pressed = false;
    if (event->button() == Qt::LeftButton && r >= 0 && c >= 0) {
        m_pressed = true;
        const int fr = FixedRows(), fc = FixedCols();
        if (r < fr && c >= fc) {
            // A heading selects its whole column.
            if (Rows() > fr) setCurrent(fr, c, Rows() - 1, c);
            else setCurrent(m_row, c, m_rowSel, c);
        } else if (c < fc && r >= fr) {
            // A fixed cell on the left selects its whole row.
            if (Cols() > fc) setCurrent(r, fc, r, Cols() - 1);
        } else if (r >= fr && c >= fc) {
            if (event->modifiers() & Qt::ShiftModifier) setCurrent(m_row, m_col, r, c);
            else setCurrent(r, c, r, c);
        }
    }
    emit MouseDown(vbButton(event->button()), vbShift(event->modifiers()), toTwips(area.x()), toTwips(area.y()));
}

void FlexGrid::moveAt(QMouseEvent* event, const QPointF& area)
{
    int r, c;
    mouseEventCell(area, r, c);
    if (m_pressed && (event->buttons() & Qt::LeftButton) && r >= FixedRows() && c >= FixedCols())
        setCurrent(m_row, m_col, r, c);
    emit MouseMove(vbButton(event->buttons()), vbShift(event->modifiers()), toTwips(area.x()), toTwips(area.y()));
}

void FlexGrid::releaseAt(QMouseEvent* event, const QPointF& area)
{
    int r, c;
    mouseEventCell(area, r, c);
    emit MouseUp(vbButton(event->button()), vbShift(event->modifiers()), toTwips(area.x()), toTwips(area.y()));
    if (m_pressed) {
        m_pressed = false;
        emit Click();
    }
}

void FlexGrid::doubleClickAt(QMouseEvent* event, const QPointF& area)
{
    int r, c;
    mouseEventCell(area, r, c);
    m_pressed = false;  // the release after a double click is no click
    if (event->button() == Qt::LeftButton) emit DblClick();
}

void FlexGrid::mousePressEvent(QMouseEvent* event) { pressAt(event, areaPosition(viewport(), event->position())); }
void FlexGrid::mouseMoveEvent(QMouseEvent* event) { moveAt(event, areaPosition(viewport(), event->position())); }
void FlexGrid::mouseReleaseEvent(QMouseEvent* event) { releaseAt(event, areaPosition(viewport(), event->position())); }

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    doubleClickAt(event, areaPosition(viewport(), event->position()));
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    int code = vbKeyCode(event->key());
    if (code != 0) {
        emit KeyDown(code, vbShift(event->modifiers()));
        if (code == 0) {
            event->accept();
            return;
        }
    }

    const int fr = FixedRows(), fc = FixedCols();
    if (Rows() > fr && Cols() > fc) {
        const int page = std::max(1, viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()));
        const bool extend = event->modifiers() & Qt::ShiftModifier;
        int r = extend ? m_rowSel : m_row, c = extend ? m_colSel : m_col;
        int step = 0;  // direction across hidden columns
        bool navigate = true;
        switch (event->key()) {
        case Qt::Key_Up: --r; break;
        case Qt::Key_Down: ++r; break;
        case Qt::Key_Left: --c; step = -1; break;
        case Qt::Key_Right: ++c; step = 1; break;
        case Qt::Key_PageUp: r -= page; break;
        case Qt::Key_PageDown: r += page; break;
        case Qt::Key_Home:
            c = fc;
            step = 1;
            if (event->modifiers() & Qt::ControlModifier) r = fr;
            break;
        case Qt::Key_End:
            c = Cols() - 1;
            step = -1;
            if (event->modifiers() & Qt::ControlModifier) r = Rows() - 1;
            break;
        default: navigate = false;
        }
        if (navigate) {
            r = std::clamp(r, fr, Rows() - 1);
            c = std::clamp(c, fc, Cols() - 1);
            while (step != 0 && isColumnHidden(c) && c + step >= fc && c + step < Cols()) c += step;
            if (!isColumnHidden(c)) {
                if (extend) setCurrent(m_row, m_col, r, c);
                else setCurrent(r, c, r, c);
                scrollTo(m_model->index(r, c));
            }
            event->accept();
            return;
        }
    }

    int ascii = 0;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: ascii = 13; break;
    case Qt::Key_Backspace: ascii = 8; break;
    case Qt::Key_Escape: ascii = 27; break;
    default:
        if (!event->text().isEmpty()) ascii = event->text().at(0).unicode();
    }
    if (ascii != 0) emit KeyPress(ascii);
    // Esc is also the window's, as the cancel button took it in the old
    // grids: it closes the panel or the window the grid lies in.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace corvane
