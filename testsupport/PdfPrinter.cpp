#include "testsupport/PdfPrinter.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

namespace corvane::test {

std::unique_ptr<QPrinter> PdfPrinters::open(const QString& deviceName)
{
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setPageSize(QPageSize(QPageSize::A4));
    p->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QDir().mkpath(m_folder);
    m_openFile = QDir(m_folder).filePath(QStringLiteral("job%1.pdf").arg(jobs.size() + 1));
    QFile::remove(m_openFile);
    // An unwritable output makes QPainter::begin fail, as a refusing device does.
    p->setOutputFileName(refuse ? QStringLiteral("/nonexistent-folder/x.pdf") : m_openFile);
    p->setPrinterName(deviceName);
    return p;
}

void PdfPrinters::jobEnded(const QString& deviceName, int pages)
{
    jobs.push_back({deviceName, pages > 0 ? m_openFile : QString(), pages});
}

PdfPrinters& installPdfPrinters(const QString& folder)
{
    auto service = std::make_unique<PdfPrinters>(folder);
    PdfPrinters& ref = *service;
    Services::setPrinters(std::move(service));
    ThePrinter().setDeviceName(QString());
    return ref;
}

std::vector<PdfWord> pdfWords(const QString& pdfFile)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfFile, QStringLiteral("-")});
    p.waitForFinished(30000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    constexpr double mmPerPoint = 25.4 / 72.0;
    std::vector<PdfWord> out;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.push_back({m.captured(5), m.captured(1).toDouble() * mmPerPoint, m.captured(2).toDouble() * mmPerPoint,
                       m.captured(3).toDouble() * mmPerPoint, m.captured(4).toDouble() * mmPerPoint});
    }
    return out;
}

}  // namespace corvane::test
