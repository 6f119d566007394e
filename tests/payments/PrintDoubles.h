#pragma once
// A printer that records each job, and a voucher measure with fixed figures:
// every character is as wide as it is high, size × 20 twips.

#include <memory>
#include <vector>

#include "payments/VoucherLayout.h"
#include "platform/PrintSurface.h"

namespace corvane::test {

struct RecordedJob {
    std::vector<RecordingSurface::Step> steps;
    int pages = 0;
    bool ended = false, killed = false;
    std::vector<RecordingSurface::Step> texts() const
    {
        std::vector<RecordingSurface::Step> out;
        for (const auto& s : steps)
            if (s.kind == RecordingSurface::Step::Text) out.push_back(s);
        return out;
    }
};

class RecordingPrinter : public PrinterService {
public:
    // A4 portrait printable area, in twips.
    double width = 11000, height = 15800;
    int setups = 0;
    QString failWith;  // a job that cannot start
    std::shared_ptr<std::vector<RecordedJob>> jobs = std::make_shared<std::vector<RecordedJob>>();

    class Job : public RecordingSurface {
    public:
        Job(double w, double h, std::shared_ptr<std::vector<RecordedJob>> to) : RecordingSurface(w, h), m_to(std::move(to)) {}
        ~Job() override { m_to->push_back({steps, pages(), ended(), killed()}); }

    private:
        std::shared_ptr<std::vector<RecordedJob>> m_to;
    };

    std::unique_ptr<PrintSurface> startJob(const QString&) override
    {
        auto job = std::make_unique<Job>(width, height, jobs);
        if (!failWith.isEmpty()) job->failToStart(failWith);
        return job;
    }
    void setup() override { ++setups; }
};

// A printer that writes each job to a PDF file.
class PdfPrinter : public PrinterService {
public:
    explicit PdfPrinter(QString path) : m_path(std::move(path)) {}
    std::unique_ptr<PrintSurface> startJob(const QString&) override { return PainterSurface::pdf(m_path); }
    void setup() override {}

private:
    QString m_path;
};

// size × 20 twips a character, in millimetres.
inline payments::VoucherMeasure fixedVoucherMeasure()
{
    payments::VoucherMeasure m;
    m.width = [](double size, bool, const QString& s) { return s.size() * size * 20 * 25.4 / 1440; };
    m.height = [](double size, bool, const QString&) { return size * 20 * 25.4 / 1440; };
    return m;
}

}  // namespace corvane::test
