#include "testsupport/PrintQueue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <map>
#include <memory>

namespace corvane::test {

namespace {

QString queueName() { return qEnvironmentVariable("CORVANE_TEST_PRINTER"); }

// The queue as Qt's native printer sees it (page, margins, resolution).
QPrinter& queuePrinter()
{
    static std::unique_ptr<QPrinter> printer;
    if (!printer || printer->printerName() != queueName()) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setPrinterName(queueName());
    }
    return *printer;
}

// Characters a PDF font may map to a look-alike (a Kangxi or supplementary
// radical for an ordinary ideograph) when its text is extracted.
bool sameText(const QString& printed, const QString& found)
{
    const QString a = printed.normalized(QString::NormalizationForm_KC);
    const QString b = found.normalized(QString::NormalizationForm_KC);
    if (a == b) return true;
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t c = b[i].unicode();
        if (a[i] != b[i] && !(c >= 0x2E80 && c <= 0x2FDF)) return false;
    }
    return true;
}

QString plainText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

}  // namespace

QString printQueueMissing()
{
    const QString name = queueName();
    if (name.isEmpty())
        return QStringLiteral("no print system here: scripts/test starts CUPS with a queue and names it in CORVANE_TEST_PRINTER");
    if (!QPrinterInfo::availablePrinterNames().contains(name))
        return QStringLiteral("the print system does not list the queue ") + name;
    if (qEnvironmentVariableIsEmpty("CORVANE_TEST_PRINT_OUT"))
        return QStringLiteral("CORVANE_TEST_PRINT_OUT does not name where the queue's device writes");
    return {};
}

TestPrinters& installQueueRecording(const QString& folder)
{
    TestPrinters& printers = installTestPrinters(folder, TestPrinters::Recording);
    QPrinter& q = queuePrinter();
    const QRectF area = q.pageLayout().paintRect(QPageLayout::Inch);
    printers.width = area.width() * 1440;
    printers.height = area.height() * 1440;
    printers.widthMeasure = [&q](const QFont& font, const QString& text) {
        const QFontMetricsF m(font, &q);
        double widest = 0;
        for (const QString& line : text.split(QLatin1Char('\n'))) widest = qMax(widest, m.horizontalAdvance(line));
        return widest * 1440.0 / q.logicalDpiX();
    };
    printers.heightMeasure = [&q](const QFont& font, const QString& text) {
        const QFontMetricsF m(font, &q);
        return m.height() * qMax(1, int(text.count(QLatin1Char('\n'))) + 1) * 1440.0 / q.logicalDpiY();
    };
    return printers;
}

void printOnQueue()
{
    Printing::setDevices(nullptr);
    Printing::setCurrentPrinter(queueName());
}

QString waitForQueuedJob(const QStringList& markers, int timeoutMs)
{
    const QDir out(qEnvironmentVariable("CORVANE_TEST_PRINT_OUT"));
    std::map<QString, qint64> looked;  // file → size when read
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        for (const QFileInfo& f : out.entryInfoList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name)) {
            auto it = looked.find(f.fileName());
            if (it != looked.end() && it->second == f.size()) continue;
            looked[f.fileName()] = f.size();
            const QString text = plainText(f.filePath());
            bool all = true;
            for (const QString& m : markers) all = all && text.contains(m.normalized(QString::NormalizationForm_KC));
            if (all) return f.filePath();
        }
        QThread::msleep(200);
    }
    return {};
}

QStringList textsNotInPlace(const std::vector<RecordingSurface::Step>& recorded, const QString& pdfFile,
                            double toleranceMm)
{
    const QRectF area = queuePrinter().pageLayout().paintRect(QPageLayout::Millimeter);
    const std::vector<PdfWord> words = pdfWords(pdfFile);
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList missing;
    for (const RecordingSurface::Step& s : recorded) {
        if (s.kind != RecordingSurface::Step::Text || s.text.trimmed().isEmpty()) continue;
        const QString first = s.text.trimmed().split(blanks).front();
        // A text that starts with blanks starts further right than drawn.
        const bool leftEdgeKnown = !s.text.front().isSpace();
        const double x = area.left() + s.xTwips * 25.4 / 1440, y = area.top() + s.yTwips * 25.4 / 1440;
        bool found = false;
        for (const PdfWord& w : words) {
            if (w.page != s.page || std::abs(w.yMin - y) > toleranceMm) continue;
            if (leftEdgeKnown && std::abs(w.xMin - x) > toleranceMm) continue;
            // pdftotext joins texts drawn edge to edge into one word, and
            // splits one at a hyphen.
            if (sameText(first, w.text) || sameText(first, w.text.left(first.size())) ||
                (w.text.size() >= 2 && sameText(first.left(w.text.size()), w.text))) {
                found = true;
                break;
            }
        }
        if (!found)
            missing << QStringLiteral("%1 (%2, %3, %4)").arg(s.text).arg(s.page).arg(x, 0, 'f', 1).arg(y, 0, 'f', 1);
    }
    return missing;
}

}  // namespace corvane::test
