#include "platform/PrintSurface.h"

#include <QFontMetricsF>
#include <QPrintDialog>
#include <QPainter>
#include <QPrinter>
#include <QStringList>

namespace corvane {

// ---------------------------------------------------------------- surface

QFont PrintSurface::currentFont() const
{
    QFont f(FontName);
    // 宋体 may be missing: the CJK font of the system stands in, and widths follow it.
    f.setFamilies({FontName, QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("Noto Sans CJK SC")});
    f.setPointSizeF(FontSize > 0 ? FontSize : 9);
    f.setBold(FontBold);
    return f;
}

double PrintSurface::TextWidth(const QString& text) const { return fromTwips(measureWidthTwips(currentFont(), text)); }

double PrintSurface::TextHeight(const QString& text) const
{
    return fromTwips(measureHeightTwips(currentFont(), text));
}

bool PrintSurface::ensureOpen()
{
    if (m_open) return true;
    m_error.clear();
    if (!begin()) {
        if (m_error.isEmpty()) m_error = QStringLiteral("打印机无法开始打印");
        return false;
    }
    m_open = true;
    return true;
}

void PrintSurface::Print(const QString& text)
{
    if (!text.isEmpty() && ensureOpen()) drawText(toTwips(CurrentX), toTwips(CurrentY), currentFont(), text);
    CurrentY += TextHeight(text.isEmpty() ? QStringLiteral("中") : text);
    CurrentX = 0;
}

void PrintSurface::Line(double x1, double y1, double x2, double y2)
{
    if (ensureOpen()) drawLine(toTwips(x1), toTwips(y1), toTwips(x2), toTwips(y2));
    CurrentX = x2;
    CurrentY = y2;
}

void PrintSurface::NewPage()
{
    if (ensureOpen()) newPage();
    CurrentX = 0;
    CurrentY = 0;
}

void PrintSurface::EndDoc()
{
    if (!m_open) return;
    m_open = false;
    if (!end() && m_error.isEmpty()) m_error = QStringLiteral("打印作业未能完成");
}

void PrintSurface::KillDoc()
{
    if (!m_open) return;
    m_open = false;
    abort();
}

// ---------------------------------------------------------------- painter

std::unique_ptr<PainterSurface> PainterSurface::canvas(double widthMm, double heightMm, double dotsPerMm)
{
    std::unique_ptr<PainterSurface> s(new PainterSurface);
    s->m_image = QImage(qMax(1, qRound(widthMm * dotsPerMm)), qMax(1, qRound(heightMm * dotsPerMm)),
                        QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dotsPerMm * 1000);
    s->m_image.setDotsPerMeterX(dotsPerMeter);
    s->m_image.setDotsPerMeterY(dotsPerMeter);
    s->m_image.fill(Qt::white);
    return s;
}

std::unique_ptr<PainterSurface> PainterSurface::pdf(const QString& path, QPageLayout::Orientation orientation)
{
    std::unique_ptr<PainterSurface> s(new PainterSurface);
    s->m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    s->m_ownPrinter->setOutputFormat(QPrinter::PdfFormat);
    s->m_ownPrinter->setOutputFileName(path);
    s->m_ownPrinter->setPageSize(QPageSize(QPageSize::A4));
    s->m_ownPrinter->setPageOrientation(orientation);
    s->m_printer = s->m_ownPrinter.get();
    return s;
}

std::unique_ptr<PainterSurface> PainterSurface::onPrinter(QPrinter* printer)
{
    std::unique_ptr<PainterSurface> s(new PainterSurface);
    s->m_printer = printer;
    return s;
}

PainterSurface::~PainterSurface()
{
    if (m_painter && m_painter->isActive()) m_painter->end();
}

QPaintDevice* PainterSurface::device() const
{
    if (m_printer) return m_printer;
    return const_cast<QImage*>(&m_image);
}

double PainterSurface::dpiX() const { return device()->logicalDpiX(); }
double PainterSurface::dpiY() const { return device()->logicalDpiY(); }

double PainterSurface::pageWidthTwips() const
{
    if (m_printer) return m_printer->pageLayout().paintRect(QPageLayout::Inch).width() * 1440.0;
    return m_image.width() * 1440.0 / dpiX();
}

double PainterSurface::pageHeightTwips() const
{
    if (m_printer) return m_printer->pageLayout().paintRect(QPageLayout::Inch).height() * 1440.0;
    return m_image.height() * 1440.0 / dpiY();
}

double PainterSurface::measureWidthTwips(const QFont& font, const QString& text) const
{
    const QFontMetricsF m(font, device());
    double widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) widest = qMax(widest, m.horizontalAdvance(line));
    return widest * 1440.0 / dpiX();
}

double PainterSurface::measureHeightTwips(const QFont& font, const QString& text) const
{
    const QFontMetricsF m(font, device());
    const int lines = qMax(1, int(text.count(QLatin1Char('\n'))) + 1);
    return m.height() * lines * 1440.0 / dpiY();
}

bool PainterSurface::begin()
{
    if (m_painter && m_painter->isActive()) return true;
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(device())) {
        m_error = QStringLiteral("打印机无法开始打印");
        m_painter.reset();
        return false;
    }
    m_painter->setPen(QPen(Qt::black, 0));
    return true;
}

void PainterSurface::drawText(double x, double y, const QFont& font, const QString& text)
{
    if (!m_painter) return;
    m_painter->setFont(font);
    const QFontMetricsF m(font, device());
    const double px = x * dpiX() / 1440.0, py = y * dpiY() / 1440.0;
    m_painter->drawText(QPointF(px, py + m.ascent()), text);
}

void PainterSurface::drawLine(double x1, double y1, double x2, double y2)
{
    if (!m_painter) return;
    const double fx = dpiX() / 1440.0, fy = dpiY() / 1440.0;
    m_painter->drawLine(QPointF(x1 * fx, y1 * fy), QPointF(x2 * fx, y2 * fy));
}

void PainterSurface::newPage()
{
    if (m_printer) m_printer->newPage();
}

bool PainterSurface::end()
{
    if (!m_painter) return true;
    const bool ok = m_painter->end();
    m_painter.reset();
    return ok;
}

void PainterSurface::abort()
{
    if (m_printer) m_printer->abort();
    if (m_painter && m_painter->isActive()) m_painter->end();
    m_painter.reset();
}

void PainterSurface::Cls()
{
    if (m_painter && m_painter->isActive()) m_painter->end();
    m_painter.reset();
    if (!m_image.isNull()) m_image.fill(Qt::white);
    CurrentX = 0;
    CurrentY = 0;
}

// ---------------------------------------------------------------- recording

std::vector<RecordingSurface::Step> RecordingSurface::texts() const
{
    std::vector<Step> out;
    for (const Step& s : steps)
        if (s.kind == Step::Text) out.push_back(s);
    return out;
}

double RecordingSurface::measureWidthTwips(const QFont& font, const QString& text) const
{
    if (m_widthMeasure) return m_widthMeasure(font, text);
    return text.size() * font.pointSizeF() * 20.0;
}

double RecordingSurface::measureHeightTwips(const QFont& font, const QString& text) const
{
    if (m_heightMeasure) return m_heightMeasure(font, text);
    return font.pointSizeF() * 20.0;
}

bool RecordingSurface::begin()
{
    if (!m_failStart.isEmpty()) {
        m_error = m_failStart;
        return false;
    }
    m_started = true;
    return true;
}

void RecordingSurface::drawText(double x, double y, const QFont& font, const QString& text)
{
    Step s;
    s.kind = Step::Text;
    s.page = m_page;
    s.x1 = fromTwips(x);
    s.y1 = fromTwips(y);
    s.text = text;
    s.fontName = FontName;
    s.fontSize = font.pointSizeF();
    s.bold = font.bold();
    steps.push_back(s);
}

void RecordingSurface::drawLine(double x1, double y1, double x2, double y2)
{
    Step s;
    s.kind = Step::Line;
    s.page = m_page;
    s.x1 = fromTwips(x1);
    s.y1 = fromTwips(y1);
    s.x2 = fromTwips(x2);
    s.y2 = fromTwips(y2);
    steps.push_back(s);
}

void RecordingSurface::newPage()
{
    Step s;
    s.kind = Step::NewPage;
    s.page = m_page;
    steps.push_back(s);
    ++m_page;
}

bool RecordingSurface::end()
{
    Step s;
    s.kind = Step::EndDoc;
    s.page = m_page;
    steps.push_back(s);
    m_ended = true;
    return true;
}

void RecordingSurface::abort()
{
    Step s;
    s.kind = Step::KillDoc;
    s.page = m_page;
    steps.push_back(s);
    m_killed = true;
}

// ---------------------------------------------------------------- printer

namespace {

class SystemPrinter : public PrinterService {
public:
    std::unique_ptr<PrintSurface> startJob(const QString& documentName) override
    {
        m_printer.setDocName(documentName);
        return PainterSurface::onPrinter(&m_printer);
    }
    void setup() override
    {
        // Printer, paper and orientation; a cancel keeps the settings.
        QPrintDialog dialog(&m_printer);
        dialog.setWindowTitle(QStringLiteral("打印设置"));
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
        dialog.exec();
    }

private:
    QPrinter m_printer{QPrinter::HighResolution};
};

std::unique_ptr<PrinterService>& printerSlot()
{
    static std::unique_ptr<PrinterService> slot;
    return slot;
}

}  // namespace

PrinterService& Printing::printer()
{
    auto& slot = printerSlot();
    if (!slot) slot = std::make_unique<SystemPrinter>();
    return *slot;
}

void Printing::setPrinter(std::unique_ptr<PrinterService> service) { printerSlot() = std::move(service); }

}  // namespace corvane
