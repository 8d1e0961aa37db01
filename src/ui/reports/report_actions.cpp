#include "ui/reports/report_actions.h"

#include "core/cases/trail_actions.h"
#include "core/platform/site_io_task.h"
#include "ui/common/action_texts.h"
#include "ui/common/case_desk.h"
#include "ui/common/message_box.h"
#include "ui/common/results_export.h"
#include "ui/common/save_dialog.h"
#include "ui/reports/report_output.h"
#include "ui/reports/report_texts.h"

#include <QDir>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

#include <atomic>
#include <memory>

namespace card {

namespace {

// Shown only when the work takes longer than this.
constexpr int kProgressDelayMs = 1000;

using SharedReport = std::shared_ptr<const ReportPages>;

struct MadeReport {
    SharedReport report;
    int pages = 0;
};

// The progress bar of one report: busy while the report is made, then page by page.
class ReportProgress {
public:
    explicit ReportProgress(QWidget* parent)
        : m_dialog(
              new QProgressDialog(report_texts::kPreparing, action_texts::kCancel, 0, 0, parent))
        , m_cancelled(std::make_shared<std::atomic_bool>(false))
    {
        m_dialog->setObjectName(QStringLiteral("report_progress"));
        m_dialog->setWindowModality(Qt::NonModal);
        m_dialog->setMinimumDuration(kProgressDelayMs);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        QObject::connect(m_dialog, &QProgressDialog::canceled, m_dialog,
                         [flag = m_cancelled] { *flag = true; });
        m_dialog->setValue(0);
    }

    QWidget* owner() const { return m_dialog; }
    bool cancelled() const { return *m_cancelled; }
    std::shared_ptr<std::atomic_bool> flag() const { return m_cancelled; }
    void showPage(int done, int total)
    {
        m_dialog->setMaximum(total);
        m_dialog->setValue(done);
    }
    void finish() { m_dialog->deleteLater(); }

private:
    QPointer<QProgressDialog> m_dialog;
    std::shared_ptr<std::atomic_bool> m_cancelled;
};

// Makes job's report off the interface thread, then calls ready on it unless the operator
// cancelled or declined a report too big to be useful. A report to be previewed has its photos
// decoded there too: the preview paints on the interface thread.
void makeReport(QWidget* parent, const ReportJob& job, bool forPreview,
                std::function<void(const MadeReport&, std::shared_ptr<ReportProgress>)> ready)
{
    auto progress = std::make_shared<ReportProgress>(parent);
    runOnSiteIo(
        progress->owner(),
        [make = job.make, forPreview] {
            auto report = std::make_shared<const ReportPages>(make());
            if (forPreview)
                report->decodePictures();
            return MadeReport{report, report->a4PageCount()};
        },
        [parent, progress, ready = std::move(ready)](const MadeReport& made) {
            if (progress->cancelled() ||
                (made.pages > kPagesAskedAbout &&
                 !askYesNo(parent, report_texts::tooManyPages(made.pages)))) {
                progress->finish();
                return;
            }
            ready(made, progress);
        });
}

void writeWithProgress(QWidget* parent, const SharedReport& report, const SaveQuestion& question,
                       const QString& target, std::shared_ptr<ReportProgress> progress);

// After a failed write the dialog opens again with the same name and the made report is written
// where the operator says.
void askAgainAndWrite(QWidget* parent, const SharedReport& report, SaveQuestion question,
                      const QString& failedPath)
{
    question.proposedPath = failedPath;
    const QString target = askSaveTarget(parent, question);
    if (!target.isEmpty())
        writeWithProgress(parent, report, question, target,
                          std::make_shared<ReportProgress>(parent));
}

// Writes report to target on the site pool, page by page on the progress bar; a written file
// is confirmed in a passing message, a failure is said and asked again, a cancel leaves the
// target as it was without a word.
void writeWithProgress(QWidget* parent, const SharedReport& report, const SaveQuestion& question,
                       const QString& target, std::shared_ptr<ReportProgress> progress)
{
    runOnSiteIo(
        progress->owner(),
        [report, target, folders = question.protectedPlaces,
         cancelled = progress->flag()](const SiteIoProgress& pages) {
            return writeReportPdf(*report, target, folders, [&](int done, int total) {
                pages(done, total);
                return !*cancelled;
            });
        },
        [progress](int done, int total) { progress->showPage(done, total); },
        [parent, progress, report, question](const SafeWriteResult& result) {
            progress->finish();
            if (progress->cancelled())
                return;
            if (!reportSafeWrite(parent, result)) {
                askAgainAndWrite(parent, report, question, result.path);
                return;
            }
            showPassingMessage(
                parent, report_texts::kReportSaved.arg(QDir::toNativeSeparators(result.path)));
            recordWritten(parent, trail::kPdfWritten, report->title(), result.path);
        });
}

} // namespace

void printReport(QWidget* parent, const ReportJob& job)
{
    makeReport(parent, job, true,
               [parent](const MadeReport& made, std::shared_ptr<ReportProgress> progress) {
                   progress->finish();
                   QPrinter printer(QPrinter::HighResolution);
                   useReportPage(printer);
                   printer.setDocName(made.report->title());
                   QPrintPreviewDialog preview(&printer, parent);
                   preview.setObjectName(QStringLiteral("report_preview"));
                   QObject::connect(
                       &preview, &QPrintPreviewDialog::paintRequested, &preview,
                       [report = made.report](QPrinter* target) { report->paint(*target); });
                   if (preview.exec() == QDialog::Accepted)
                       CaseDesk::instance().record(parent, trail::kPrinted, made.report->title());
               });
}

void exportReportPdf(QWidget* parent, const ReportJob& job)
{
    const SaveQuestion question{report_texts::kPdfDialogTitle, job.proposedFileName,
                                report_texts::kPdfFilter, report_texts::kPdfExtension,
                                job.protectedPlaces};
    const QString target = askSaveTarget(parent, question);
    if (target.isEmpty())
        return;
    makeReport(parent, job, false,
               [parent, question, target](const MadeReport& made,
                                          std::shared_ptr<ReportProgress> progress) {
                   writeWithProgress(parent, made.report, question, target, std::move(progress));
               });
}

} // namespace card
