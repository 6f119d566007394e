#include "testsupport/PdfPrinter.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

namespace corvane::test {

std::vector<RecordingSurface::Step> TestPrinters::Job::texts() const
{
    std::vector<RecordingSurface::Step> out;
    for (const auto& s : steps)
        if (s.kind == RecordingSurface::Step::Text) out.push_back(s);
    return out;
}

std::unique_ptr<PrintSurface> TestPrinters::startJob(const QString& deviceName, const QString& documentName,
                                                     const std::optional<QPageLayout>& layout)
{
    std::unique_ptr<PrintSurface> surface;
    QString file;
    if (m_output == Recording || refuse) {
        auto recording = std::make_unique<RecordingSurface>(width, height);
        if (refuse) recording->failToStart(refusal);
        if (widthMeasure) recording->setWidthMeasure(widthMeasure);
        if (heightMeasure) recording->setHeightMeasure(heightMeasure);
        surface = std::move(recording);
    } else {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setPageSize(QPageSize(QPageSize::A4));
        if (layout) p->setPageOrientation(layout->orientation());
        p->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        QDir().mkpath(m_folder);
        file = QDir(m_folder).filePath(QStringLiteral("job%1.pdf").arg(jobs.size() + 1));
        QFile::remove(file);
        p->setOutputFileName(file);
        p->setPrinterName(deviceName);
        p->setDocName(documentName);
        surface = PainterSurface::onPrinter(std::move(p));
    }
    surface->finished = [this, deviceName, documentName, file](PrintSurface& s, bool ended) {
        Job job{deviceName, documentName, s.pagesStarted() > 0 ? file : QString(), s.pagesStarted(), ended, {}};
        if (auto* r = dynamic_cast<RecordingSurface*>(&s)) job.steps = r->steps;
        jobs.push_back(std::move(job));
    };
    return surface;
}

bool TestPrinters::setup(QString& deviceName, std::optional<QPageLayout>& layout)
{
    ++setups;
    if (setupChoice.isEmpty()) return false;
    deviceName = setupChoice;
    (void)layout;
    return true;
}

TestPrinters& installTestPrinters(const QString& folder, TestPrinters::Output output)
{
    auto service = std::make_unique<TestPrinters>(folder, output);
    TestPrinters& ref = *service;
    Printing::setDevices(std::move(service));
    return ref;
}

std::vector<PdfWord> pdfWords(const QString& pdfFile)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfFile, QStringLiteral("-")});
    p.waitForFinished(30000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression item(QStringLiteral(
        "<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    constexpr double mmPerPoint = 25.4 / 72.0;
    std::vector<PdfWord> out;
    int page = 0;
    for (auto it = item.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        out.push_back({m.captured(5), page, m.captured(1).toDouble() * mmPerPoint, m.captured(2).toDouble() * mmPerPoint,
                       m.captured(3).toDouble() * mmPerPoint, m.captured(4).toDouble() * mmPerPoint});
    }
    return out;
}

int pdfPageCount(const QString& pdfFile)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfFile, QStringLiteral("-")});
    p.waitForFinished(30000);
    return int(QString::fromUtf8(p.readAllStandardOutput()).count(QStringLiteral("<page ")));
}

}  // namespace corvane::test
