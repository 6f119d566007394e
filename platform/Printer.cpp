#include "platform/Printer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/Services.h"

namespace corvane {

namespace {

class SystemPrinters : public PrinterDevices {
public:
    QStringList printers() override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinter() override { return QPrinterInfo::defaultPrinterName(); }
    std::unique_ptr<QPrinter> open(const QString& deviceName) override
    {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!deviceName.isEmpty()) p->setPrinterName(deviceName);
        return p;
    }
};

std::unique_ptr<PrinterDevices>& printerSlot()
{
    static std::unique_ptr<PrinterDevices> slot;
    return slot;
}

constexpr double kTwipsPerInch = 1440.0;
constexpr double kMillimetresPerInch = 25.4;

}  // namespace

namespace Services {
PrinterDevices& printers()
{
    auto& slot = printerSlot();
    if (!slot) slot = std::make_unique<SystemPrinters>();
    return *slot;
}
void setPrinters(std::unique_ptr<PrinterDevices> service) { printerSlot() = std::move(service); }
}  // namespace Services

Printer::Printer() = default;
Printer::~Printer()
{
    if (m_painter && m_painter->isActive()) m_painter->end();
}

QString Printer::DeviceName() const
{
    if (!m_device.isEmpty()) return m_device;
    return Services::printers().defaultPrinter();
}

QFont Printer::font() const
{
    QFont f(FontName);
    f.setPointSizeF(FontSize > 0 ? FontSize : 9);
    f.setBold(FontBold);
    return f;
}

QPrinter* Printer::device()
{
    if (!m_printer) {
        m_error.clear();
        m_printer = Services::printers().open(DeviceName());
        m_pages = 0;
    }
    return m_printer.get();
}

double Printer::toDevice(double v) const
{
    const double dpi = m_printer ? m_printer->resolution() : 96;
    switch (ScaleMode) {
    case vbMillimeters: return v * dpi / kMillimetresPerInch;
    case vbPixels: return v;
    default: return v * dpi / kTwipsPerInch;
    }
}

double Printer::fromDevice(double v) const
{
    const double dpi = m_printer ? m_printer->resolution() : 96;
    switch (ScaleMode) {
    case vbMillimeters: return v * kMillimetresPerInch / dpi;
    case vbPixels: return v;
    default: return v * kTwipsPerInch / dpi;
    }
}

bool Printer::begin()
{
    if (m_painter && m_painter->isActive()) return true;
    QPrinter* p = device();
    if (!m_error.isEmpty()) return false;  // the device refused this job already
    if (!p) {
        m_error = QStringLiteral("没有可用的打印机");
        return false;
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(p)) {
        m_error = QStringLiteral("打印机无法开始打印：") + DeviceName();
        m_painter.reset();
        return false;
    }
    m_pages = 1;
    return true;
}

double Printer::TextWidth(const QString& text)
{
    device();
    const QFontMetricsF m(font(), m_printer.get());
    double widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) widest = std::max(widest, m.horizontalAdvance(line));
    return fromDevice(widest);
}

double Printer::TextHeight(const QString& text)
{
    device();
    const QFontMetricsF m(font(), m_printer.get());
    return fromDevice(m.height() * (text.count(QLatin1Char('\n')) + 1));
}

void Printer::Print(const QString& text)
{
    const double height = TextHeight(text);
    if (!text.isEmpty() && begin()) {
        m_painter->setFont(QFont(font(), m_printer.get()));
        m_painter->setPen(Qt::black);
        const QFontMetricsF m(m_painter->font(), m_printer.get());
        double y = toDevice(CurrentY) + m.ascent();
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            m_painter->drawText(QPointF(toDevice(CurrentX), y), line);
            y += m.height();
        }
    }
    CurrentX = 0;
    CurrentY += height;
}

void Printer::Line(double x1, double y1, double x2, double y2)
{
    if (!begin()) return;
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1, DrawWidth));
    m_painter->setPen(pen);
    m_painter->drawLine(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2)));
    CurrentX = x2;
    CurrentY = y2;
}

void Printer::NewPage()
{
    if (!begin()) return;
    m_printer->newPage();
    ++m_pages;
    CurrentX = CurrentY = 0;
}

bool Printer::EndDoc()
{
    bool ok = m_error.isEmpty();
    const QString name = DeviceName();
    if (m_painter && m_painter->isActive()) ok = m_painter->end() && ok;
    const int pages = ok ? m_pages : 0;
    m_painter.reset();
    m_printer.reset();
    m_pages = 0;
    CurrentX = CurrentY = 0;
    if (ok) Services::printers().jobEnded(name, pages);
    else if (m_error.isEmpty()) m_error = QStringLiteral("打印机无法完成打印：") + name;
    const bool result = ok;
    if (ok) m_error.clear();
    return result;
}

namespace {
std::unique_ptr<Printer>& printerObject()
{
    static auto printer = std::make_unique<Printer>();
    return printer;
}
}  // namespace

Printer& ThePrinter() { return *printerObject(); }

void ResetThePrinter() { printerObject() = std::make_unique<Printer>(); }

bool ChoosePrinter(const QString& title)
{
    const QString chosen = Services::dialogs().printer(title);
    if (chosen.isEmpty()) return false;
    ThePrinter().setDeviceName(chosen);
    return true;
}

}  // namespace corvane
