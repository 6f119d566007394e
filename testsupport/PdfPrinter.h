#pragma once
// A printer service whose printers write PDF files, one per job, with no
// margins: a position on the printable area is the same position on the
// PDF page, which `pdftotext -bbox` reads back.

#include <QString>
#include <QStringList>
#include <vector>

#include "platform/Printer.h"

namespace corvane::test {

class PdfPrinters : public PrinterDevices {
public:
    explicit PdfPrinters(QString folder) : m_folder(std::move(folder)) {}
    QStringList printers() override { return installed; }
    QString defaultPrinter() override { return installed.value(0); }
    std::unique_ptr<QPrinter> open(const QString& deviceName) override;
    void jobEnded(const QString& deviceName, int pages) override;

    QStringList installed{QStringLiteral("PDF-1"), QStringLiteral("PDF-2")};
    bool refuse = false;  // the device cannot print
    struct Job {
        QString device;
        QString file;
        int pages = 0;
    };
    std::vector<Job> jobs;  // ended jobs, in order

private:
    QString m_folder;
    QString m_openFile;
};

// Installs fresh PDF printers writing into `folder` and makes the default
// printer current again; returns the installed double.
PdfPrinters& installPdfPrinters(const QString& folder);

// A word that pdftotext -bbox found, in millimetres from the page's top left.
struct PdfWord {
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
std::vector<PdfWord> pdfWords(const QString& pdfFile);

}  // namespace corvane::test
