#include "ui/reports/report_output.h"

#include "core/platform/product.h"

#include <QPdfWriter>

namespace card {

namespace {

// Fine enough for a 12-megapixel photo across the page, and for the text's placement.
constexpr int kPdfResolution = 600;

} // namespace

SafeWriteResult writeReportPdf(const ReportPages& report, const QString& target,
                               const QStringList& protectedPlaces, const PageProgress& progress)
{
    return writeFileSafely(target, protectedPlaces, [&](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setTitle(report.title());
        writer.setCreator(kProductTitle);
        useReportPage(writer);
        return report.paint(writer, progress);
    });
}

} // namespace card
