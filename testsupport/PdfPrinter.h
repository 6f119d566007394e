#pragma once
// The printers of the tests: installed in place of the system's, they keep
// every job. A job goes to a PDF file with no margins (a position on the
// printable area is the same position on the PDF page, which
// `pdftotext -bbox` reads back), or to a recording with exact figures.

#include <QString>
#include <QStringList>
#include <vector>

#include "platform/PrintSurface.h"

namespace corvane::test {

class TestPrinters : public PrinterDevices {
public:
    enum Output { Pdf, Recording };
    TestPrinters(QString folder, Output output) : m_folder(std::move(folder)), m_output(output) {}

    QStringList printers() override { return installed; }
    QString defaultPrinter() override { return installed.value(0); }
    std::unique_ptr<PrintSurface> startJob(const QString& deviceName, const QString& documentName,
                                           const std::optional<QPageLayout>& layout) override;
    bool setup(QString& deviceName, std::optional<QPageLayout>& layout) override;

    QStringList installed{QStringLiteral("PDF-1"), QStringLiteral("PDF-2")};
    // The device cannot print: a job fails at its start with this text.
    bool refuse = false;
    QString refusal = QStringLiteral("打印机无法开始打印");
    // A recording's printable area in twips (A4 portrait), and its measures
    // (the recording's fixed rule when empty).
    double width = 11000, height = 15800;
    RecordingSurface::Measure widthMeasure, heightMeasure;
    // Print setups shown; the printer a setup chooses ("" keeps the current one).
    int setups = 0;
    QString setupChoice;

    struct Job {
        QString device;
        QString document;
        QString file;  // the PDF, when something was printed
        int pages = 0;
        bool ended = false;  // false: abandoned (KillDoc)
        std::vector<RecordingSurface::Step> steps;  // a recording's
        std::vector<RecordingSurface::Step> texts() const;
    };
    std::vector<Job> jobs;  // ended and abandoned jobs, in order

private:
    QString m_folder;
    Output m_output;
};

// Installs fresh test printers (writing into `folder`) as the system's; the
// default printer is current again. Returns the installed double.
TestPrinters& installTestPrinters(const QString& folder, TestPrinters::Output output = TestPrinters::Pdf);

// A word that pdftotext -bbox found, in millimetres from the page's top left.
struct PdfWord {
    QString text;
    int page = 1;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
std::vector<PdfWord> pdfWords(const QString& pdfFile);
// The pages of a PDF file, as pdftotext finds them.
int pdfPageCount(const QString& pdfFile);

}  // namespace corvane::test
