#pragma once
// The one printing layer. A drawing surface with the old printer's
// vocabulary: a scale in twips or millimetres, font name, size and bold, a
// line width, TextWidth/TextHeight, a print position (CurrentX/CurrentY) that
// Print moves one line down, Line, NewPage and EndDoc. The same calls draw on
// a printer, a PDF file, an off-screen preview canvas or a recording that
// tests read back with exact figures.
//
// A document starts with the first thing drawn, so a printout that draws
// nothing starts no job. KillDoc abandons a started document. A step that
// fails leaves its description in lastError(): the one error model, which
// Printing::reportFault shows.
//
// There is one current printer (Printing::currentPrinter): the system's
// default until the user chooses another with 选择打印机 or in the print
// setup, and every job (voucher, listing, custom bill) goes to it.

#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;
class QPainter;
class QPrinter;

namespace corvane {

class PrintSurface {
public:
    enum ScaleMode { vbTwips = 1, vbMillimeters = 6 };

    virtual ~PrintSurface() = default;

    ScaleMode ScaleModeValue() const { return m_scale; }
    void setScaleMode(ScaleMode mode) { m_scale = mode; }
    // The printable area in the current unit.
    double ScaleWidth() const { return fromTwips(pageWidthTwips()); }
    double ScaleHeight() const { return fromTwips(pageHeightTwips()); }

    QString FontName = QStringLiteral("宋体");
    double FontSize = 9;
    bool FontBold = false;
    double CurrentX = 0;
    double CurrentY = 0;
    // The width of a rule in device pixels (1: the thinnest the device draws).
    int DrawWidth = 1;

    // In the current unit and font.
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text) const;

    // Text with its top-left corner at the print position; the position then
    // goes to the left edge one line (of the current font) lower.
    void Print(const QString& text = QString());
    void Line(double x1, double y1, double x2, double y2);
    void NewPage();
    // Ends the document and sends it to the device. False when the device
    // refused it or failed (lastError tells why); a document in which nothing
    // was drawn ends without a job and is no failure.
    bool EndDoc();
    void KillDoc();

    // Whether a document has been started and not yet ended.
    bool documentOpen() const { return m_open; }
    // The pages of the document so far: 0 until something is drawn.
    int pagesStarted() const { return m_pages; }
    // The error of the last failed step (a printer that would not start).
    QString lastError() const { return m_error; }
    // Runs when the document ends or is abandoned (not when the device
    // refused to start it): the test printers keep their jobs with it.
    std::function<void(PrintSurface&, bool ended)> finished;

    QFont currentFont() const;

protected:
    virtual double pageWidthTwips() const = 0;
    virtual double pageHeightTwips() const = 0;
    virtual double measureWidthTwips(const QFont& font, const QString& text) const = 0;
    virtual double measureHeightTwips(const QFont& font, const QString& text) const = 0;
    virtual bool begin() = 0;
    virtual void drawText(double xTwips, double yTwips, const QFont& font, const QString& text) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
    virtual void newPage() = 0;
    virtual bool end() = 0;
    virtual void abort() = 0;

    double toTwips(double v) const { return m_scale == vbMillimeters ? v * 1440.0 / 25.4 : v; }
    double fromTwips(double v) const { return m_scale == vbMillimeters ? v * 25.4 / 1440.0 : v; }
    QString m_error;

private:
    bool ensureOpen();
    ScaleMode m_scale = vbTwips;
    bool m_open = false;
    bool m_refused = false;
    int m_pages = 0;
};

// A surface over a QPainter on a paint device: a printer, a PDF printer or an
// image. Text is measured on the device, so what is measured is what prints.
class PainterSurface : public PrintSurface {
public:
    // An image canvas of the given size in millimetres (the preview box),
    // white, at `dotsPerMm` pixels per millimetre.
    static std::unique_ptr<PainterSurface> canvas(double widthMm, double heightMm, double dotsPerMm = 96 / 25.4);
    // A PDF file (tests, benchmarks): A4 portrait unless told otherwise.
    static std::unique_ptr<PainterSurface> pdf(const QString& path,
                                               QPageLayout::Orientation orientation = QPageLayout::Portrait);
    // A job on the given printer.
    static std::unique_ptr<PainterSurface> onPrinter(std::unique_ptr<QPrinter> printer);

    ~PainterSurface() override;
    // The canvas of an image surface (empty for a printer).
    const QImage& image() const { return m_image; }
    // Clears an image canvas to white (Cls of a picture box).
    void Cls();

protected:
    double pageWidthTwips() const override;
    double pageHeightTwips() const override;
    double measureWidthTwips(const QFont& font, const QString& text) const override;
    double measureHeightTwips(const QFont& font, const QString& text) const override;
    bool begin() override;
    void drawText(double x, double y, const QFont& font, const QString& text) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void newPage() override;
    bool end() override;
    void abort() override;

private:
    PainterSurface() = default;
    QPaintDevice* device() const;
    double dpiX() const;
    double dpiY() const;
    std::unique_ptr<QPrinter> m_ownPrinter;
    QPrinter* m_printer = nullptr;
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
};

// A surface that keeps what is drawn, for tests: each step with its page,
// position and font, in the unit that was current when it was drawn. Text is
// measured by a fixed rule unless a measure is given: every character is
// size × 20 twips wide (a full-width CJK cell), one line is size × 20 twips high.
class RecordingSurface : public PrintSurface {
public:
    struct Step {
        enum Kind { Text, Line, NewPage, EndDoc, KillDoc } kind = Text;
        int page = 1;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // in the unit current when drawn
        QString text;
        QString fontName;
        double fontSize = 0;
        bool bold = false;
        int width = 1;  // a line's DrawWidth
        double xTwips = 0, yTwips = 0;  // where a text starts, in twips whatever the unit
    };
    using Measure = std::function<double(const QFont&, const QString&)>;  // twips

    RecordingSurface(double widthTwips, double heightTwips) : m_width(widthTwips), m_height(heightTwips) {}
    void setWidthMeasure(Measure m) { m_widthMeasure = std::move(m); }
    void setHeightMeasure(Measure m) { m_heightMeasure = std::move(m); }
    // Makes the next begin fail, as a printer that refuses the job.
    void failToStart(const QString& error) { m_failStart = error; }

    std::vector<Step> steps;
    int pages() const { return m_page; }
    std::vector<Step> texts() const;
    bool ended() const { return m_ended; }
    bool killed() const { return m_killed; }
    bool started() const { return m_started; }

protected:
    double pageWidthTwips() const override { return m_width; }
    double pageHeightTwips() const override { return m_height; }
    double measureWidthTwips(const QFont& font, const QString& text) const override;
    double measureHeightTwips(const QFont& font, const QString& text) const override;
    bool begin() override;
    void drawText(double x, double y, const QFont& font, const QString& text) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void newPage() override;
    bool end() override;
    void abort() override;

private:
    double m_width, m_height;
    Measure m_widthMeasure, m_heightMeasure;
    QString m_failStart;
    int m_page = 1;
    bool m_started = false, m_ended = false, m_killed = false;
};

// The printers of the system: the service behind the current printer,
// replaced in tests (testsupport/PdfPrinter.h).
class PrinterDevices {
public:
    virtual ~PrinterDevices() = default;
    // The printers installed, and the system's default ("" when none).
    virtual QStringList printers() = 0;
    virtual QString defaultPrinter() = 0;
    // A job on `deviceName`; nothing reaches the device until drawn on.
    // `layout` is the paper and orientation chosen in the print setup.
    virtual std::unique_ptr<PrintSurface> startJob(const QString& deviceName, const QString& documentName,
                                                   const std::optional<QPageLayout>& layout) = 0;
    // The print-setup dialog on `deviceName` (printer, paper, orientation).
    // False on cancel; otherwise the choice is in the arguments.
    virtual bool setup(QString& deviceName, std::optional<QPageLayout>& layout) = 0;
};

namespace Printing {
// The words for a job when no printer is installed.
inline const QString kNoPrinter = QStringLiteral("没有可用的打印机");

PrinterDevices& devices();
// Takes ownership; nullptr restores the system's printers. Either way the
// current printer is the default again.
void setDevices(std::unique_ptr<PrinterDevices> devices);

// The current printer: the one chosen, else the system's default; "" when
// no printer is installed.
QString currentPrinter();
void setCurrentPrinter(const QString& deviceName);
// The printer dialog of the dialog service (选择打印机); a choice becomes
// the current printer. False when the user cancelled.
bool choosePrinter(const QString& title = QString());
// The print-setup dialog on the current printer; a cancel changes nothing.
void setup();
// A new job on the current printer; with no printer installed its first
// drawing fails with kNoPrinter.
std::unique_ptr<PrintSurface> startJob(const QString& documentName);

// Shows a printing fault: its description alone, since it has no number.
void reportFault(const QString& description);
}  // namespace Printing

}  // namespace corvane
