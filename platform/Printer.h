#pragma once
// The printer as the old program's windows drew on it: a scale in twips or
// millimetres, a current position, a font, a line width in printer pixels,
// Print, Line, NewPage and EndDoc. Positions count from the top left corner
// of the printable area. The job begins with the first drawing and goes to
// the printer at EndDoc; the device is the current printer, the system's
// default until the user chooses another. Where a job goes is the printer
// service's business, which tests replace to print into PDF files.

#include <QFont>
#include <QString>
#include <QStringList>
#include <memory>

class QPainter;
class QPrinter;

namespace corvane {

enum PrinterScaleMode : int { vbTwips = 1, vbPixels = 3, vbMillimeters = 6 };

class PrinterDevices {
public:
    virtual ~PrinterDevices() = default;
    // The printers installed, and the system's default ("" when none).
    virtual QStringList printers() = 0;
    virtual QString defaultPrinter() = 0;
    // A printer ready for a job on `deviceName`.
    virtual std::unique_ptr<QPrinter> open(const QString& deviceName) = 0;
    // A job has been ended: `pages` pages went to the device (0 for a job
    // in which nothing was drawn).
    virtual void jobEnded(const QString& deviceName, int pages) { (void)deviceName, (void)pages; }
};

namespace Services {
PrinterDevices& printers();
// nullptr restores the system's printers.
void setPrinters(std::unique_ptr<PrinterDevices>);
}  // namespace Services

class Printer {
public:
    Printer();
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // The device's name; "" when no printer is installed.
    QString DeviceName() const;
    void setDeviceName(const QString& name) { m_device = name; }

    int ScaleMode = vbTwips;
    double CurrentX = 0;
    double CurrentY = 0;
    QString FontName;
    double FontSize = 9;
    bool FontBold = false;
    int DrawWidth = 1;

    // In the scale's units, in the current font, on the device.
    double TextWidth(const QString& text);
    double TextHeight(const QString& text);
    // The text with its top left corner at the current position; then the
    // position moves to the start of the next line.
    void Print(const QString& text);
    void Line(double x1, double y1, double x2, double y2);
    void NewPage();
    // Ends the job. False when the device refused it (error() tells why);
    // the printer is then ready for a new job.
    bool EndDoc();
    const QString& error() const { return m_error; }

private:
    QFont font() const;
    double toDevice(double v) const;
    double fromDevice(double v) const;
    bool begin();
    QPrinter* device();

    QString m_device;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    int m_pages = 0;
    QString m_error;
};

// The program's printer (Printer of the old program).
Printer& ThePrinter();
// Replaces it by a new one with no job and no device chosen (between tests).
void ResetThePrinter();
// The printer dialog of the dialog service; a choice becomes the printer's
// device. False when the user cancelled.
bool ChoosePrinter(const QString& title = QString());

}  // namespace corvane
