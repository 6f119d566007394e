#pragma once
// The real print queue that scripts/test starts: a CUPS server of its own
// (CUPS_SERVER) with the queue CORVANE_TEST_PRINTER, whose device keeps each
// job as the PDF Qt sent, in CORVANE_TEST_PRINT_OUT. A test prints the same
// printout on the test printers' recording (at the queue's page size and
// with the fonts' real measures) and through Qt's native printer on the
// queue, then finds every recorded text in the PDF the queue wrote.

#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/PrintSurface.h"
#include "testsupport/PdfPrinter.h"

namespace corvane::test {

// Why no queue can be printed on here ("" when one can).
QString printQueueMissing();

// Installs the test printers as a recording of the queue's printable area
// measured with the real fonts (as the printer measures them).
TestPrinters& installQueueRecording(const QString& folder);
// The system's printers again, with the queue as the current printer.
void printOnQueue();

// The PDF of a job on the queue that holds every one of `markers`, once its
// device has written it; "" after `timeoutMs`. Tests running at once each
// find their own job by their own texts.
QString waitForQueuedJob(const QStringList& markers, int timeoutMs = 60000);

// The recorded texts that the PDF does not show on their page, within
// `toleranceMm` of where they were drawn (the printable area's margins
// added); each as "text (page, x, y)". Texts with blanks are split into
// words as pdftotext splits them.
QStringList textsNotInPlace(const std::vector<RecordingSurface::Step>& recorded, const QString& pdfFile,
                            double toleranceMm = 1.0);

}  // namespace corvane::test
