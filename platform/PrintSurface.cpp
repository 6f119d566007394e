#include "platform/PrintSurface.h"

#include <QFontMetricsF>
#include <QPrintDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>

#include "platform/Services.h"

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
    // A device that refused this job is not asked again for every line.
    if (m_refused) return false;
    m_error.clear();
    if (!begin()) {
        if (m_error.isEmpty()) m_error = QStringLiteral("打印机无法开始打印");
        m_refused = true;
        return false;
    }
    m_open = true;
    m_pages = 1;
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
    if (ensureOpen()) {
        newPage();
        ++m_pages;
    }
    CurrentX = 0;
    CurrentY = 0;
}

bool PrintSurface::EndDoc()
{
    CurrentX = CurrentY = 0;
    if (m_refused) {
        m_refused = false;
        return false;
    }
    if (m_open) {
        m_open = false;
        if (!end() && m_error.isEmpty()) m_error = QStringLiteral("打印作业未能完成");
    }
    if (finished) finished(*this, true);
    m_pages = 0;
    return m_error.isEmpty();
}

void PrintSurface::KillDoc()
{
    m_refused = false;
    if (!m_open) return;
    m_open = false;
    abort();
    if (finished) finished(*this, false);
    m_pages = 0;
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

std::unique_ptr<PainterSurface> PainterSurface::onPrinter(std::unique_ptr<QPrinter> printer)
{
    std::unique_ptr<PainterSurface> s(new PainterSurface);
    s->m_ownPrinter = std::move(printer);
    s->m_printer = s->m_ownPrinter.get();
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
    m_painter->setPen(QPen(Qt::black, DrawWidth > 1 ? DrawWidth : 0));
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
    s.xTwips = x;
    s.yTwips = y;
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
    s.width = DrawWidth;
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

// ---------------------------------------------------------------- printers

namespace {

class SystemPrinters : public PrinterDevices {
public:
    QStringList printers() override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinter() override { return QPrinterInfo::defaultPrinterName(); }
    std::unique_ptr<PrintSurface> startJob(const QString& deviceName, const QString& documentName,
                                           const std::optional<QPageLayout>& layout) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setPrinterName(deviceName);
        if (layout) printer->setPageLayout(*layout);
        printer->setDocName(documentName);
        return PainterSurface::onPrinter(std::move(printer));
    }
    bool setup(QString& deviceName, std::optional<QPageLayout>& layout) override
    {
        QPrinter printer(QPrinter::HighResolution);
        if (!deviceName.isEmpty()) printer.setPrinterName(deviceName);
        if (layout) printer.setPageLayout(*layout);
        QPrintDialog dialog(&printer);
        dialog.setWindowTitle(QStringLiteral("打印设置"));
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
        if (dialog.exec() != QDialog::Accepted) return false;
        deviceName = printer.printerName();
        layout = printer.pageLayout();
        return true;
    }
};

struct CurrentPrinter {
    std::unique_ptr<PrinterDevices> devices;
    QString chosen;
    std::optional<QPageLayout> layout;
};

CurrentPrinter& current()
{
    static CurrentPrinter c;
    return c;
}

}  // namespace

PrinterDevices& Printing::devices()
{
    auto& c = current();
    if (!c.devices) c.devices = std::make_unique<SystemPrinters>();
    return *c.devices;
}

void Printing::setDevices(std::unique_ptr<PrinterDevices> devices)
{
    auto& c = current();
    c.devices = std::move(devices);
    c.chosen.clear();
    c.layout.reset();
}

QString Printing::currentPrinter()
{
    const QString& chosen = current().chosen;
    return chosen.isEmpty() ? devices().defaultPrinter() : chosen;
}

void Printing::setCurrentPrinter(const QString& deviceName)
{
    auto& c = current();
    // The paper chosen for one printer may not exist on another.
    if (deviceName != c.chosen) c.layout.reset();
    c.chosen = deviceName;
}

bool Printing::choosePrinter(const QString& title)
{
    const QString chosen = Services::dialogs().printer(title);
    if (chosen.isEmpty()) return false;
    setCurrentPrinter(chosen);
    return true;
}

void Printing::setup()
{
    QString device = currentPrinter();
    std::optional<QPageLayout> layout = current().layout;
    if (!devices().setup(device, layout)) return;
    setCurrentPrinter(device);
    current().layout = layout;
}

std::unique_ptr<PrintSurface> Printing::startJob(const QString& documentName)
{
    const QString device = currentPrinter();
    if (device.isEmpty() || devices().printers().isEmpty()) {
        // Nothing to print on: the job fails at its first drawing, as a refusing printer's does.
        auto none = std::make_unique<RecordingSurface>(11906, 16838);
        none->failToStart(kNoPrinter);
        return none;
    }
    return devices().startJob(device, documentName, current().layout);
}

void Printing::reportFault(const QString& description) { MsgBox(description); }

}  // namespace corvane
