#include "ui/reports/evidence_actions.h"

#include "core/cases/trail_actions.h"
#include "core/evidence/evidence_texts.h"
#include "core/platform/site_io_task.h"
#include "core/records/card_day.h"
#include "core/text/day_text.h"
#include "core/text/file_names.h"
#include "ui/common/action_texts.h"
#include "ui/common/case_desk.h"
#include "ui/common/message_box.h"
#include "ui/common/results_export.h"
#include "ui/common/save_dialog.h"
#include "ui/reports/evidence_command.h"
#include "ui/reports/evidence_package_report.h"
#include "ui/reports/report_texts.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QProgressDialog>
#include <QVBoxLayout>

#include <atomic>
#include <memory>

namespace card {

namespace {

struct PackageChoices {
    bool cardDay = false;
    bool dayFiles = false;
};

QCheckBox* addTick(QDialog& dialog, const QString& name, const QString& text)
{
    auto* tick = new QCheckBox(text, &dialog);
    tick->setObjectName(name);
    tick->setAccessibleDescription(name);
    dialog.layout()->addWidget(tick);
    return tick;
}

// The package's two ticks; nothing when the operator cancels.
std::optional<PackageChoices> askChoices(QWidget* parent, bool offerCardDay)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("evidence_package"));
    dialog.setWindowTitle(report_texts::kPackageDialogTitle);
    new QVBoxLayout(&dialog);
    QCheckBox* cardDay = offerCardDay ? addTick(dialog, QStringLiteral("evidence_package_card_day"),
                                                report_texts::kPackageCardDay)
                                      : nullptr;
    QCheckBox* dayFiles = addTick(dialog, QStringLiteral("evidence_package_day_files"),
                                  report_texts::kPackageDayFiles);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.layout()->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return PackageChoices{cardDay && cardDay->isChecked(), dayFiles->isChecked()};
}

// The first swipe's card and day, every swipe of it in file order, with the first's site.
QList<PackageSwipe> withCardDay(const QList<PackageSwipe>& swipes)
{
    const PackageSwipe& shown = swipes.constFirst();
    QList<PackageSwipe> all;
    for (const Swipe& swipe : readCardDay(shown.swipe).swipes)
        all.append({swipe, shown.siteCaption, swipe == shown.swipe ? shown.note : QString()});
    return all.isEmpty() ? swipes : all;
}

// Where to save the package, proposing proposed (a bare name, or the path that failed); never
// among the site files of its swipes.
QString askPackageTarget(QWidget* parent, const PackageRequest& request, const QString& proposed)
{
    QStringList protectedPlaces;
    for (const PackageSwipe& item : request.swipes)
        protectedPlaces += item.swipe.protectedPlaces();
    return askSaveTarget(parent,
                         {report_texts::kPackageDialogTitle, proposed, report_texts::kZipFilter,
                          report_texts::kZipExtension, protectedPlaces});
}

void makePackage(QWidget* parent, PackageRequest request, const QString& target, bool cardDay)
{
    auto* progress =
        new QProgressDialog(report_texts::kPackagePreparing, action_texts::kCancel, 0, 0, parent);
    progress->setObjectName(QStringLiteral("evidence_package_progress"));
    progress->setMinimumDuration(1000);
    auto cancelled = std::make_shared<std::atomic_bool>(false);
    QObject::connect(progress, &QProgressDialog::canceled, progress,
                     [cancelled] { *cancelled = true; });
    runOnSiteIo(
        progress,
        [request, target, cardDay, cancelled](const SiteIoProgress& files) {
            PackageRequest made = request;
            if (cardDay)
                made.swipes = withCardDay(made.swipes);
            return writeEvidencePackage(made, target, evidencePackagePdf, [&](int done, int total) {
                files(done, total);
                return !*cancelled;
            });
        },
        [progress](int done, int total) {
            progress->setMaximum(total);
            progress->setValue(done);
        },
        [parent, progress, request, target, cardDay](const PackageOutcome& outcome) {
            progress->deleteLater();
            if (outcome.status == PackageStatus::Cancelled)
                return;
            if (outcome.status == PackageStatus::PhotoUnreadable && !request.keepUnreadable &&
                askYesNo(parent, report_texts::packWithoutPhoto(packageFailureText(outcome)))) {
                PackageRequest again = request;
                again.keepUnreadable = true;
                makePackage(parent, again, target, cardDay);
                return;
            }
            if (outcome.status != PackageStatus::Ok) {
                showMessage(parent, packageFailureText(outcome));
                if (outcome.status != PackageStatus::WriteFailed)
                    return;
                const QString again = askPackageTarget(parent, request, target);
                if (!again.isEmpty())
                    makePackage(parent, request, again, cardDay);
                return;
            }
            CaseDesk::instance().record(
                parent, trail::kEvidencePackaged,
                evidence_texts::packagedLine(QDir::toNativeSeparators(target),
                                             outcome.packageSha256),
                request.caseName);
            showPassingMessage(parent,
                               report_texts::kPackageSaved.arg(QDir::toNativeSeparators(target)));
        });
}

} // namespace

void exportEvidencePackage(QWidget* parent, const PackageJob& job)
{
    if (job.request.swipes.isEmpty())
        return;
    const std::optional<PackageChoices> choices = askChoices(parent, job.offerCardDay);
    if (!choices)
        return;
    const QString target = askPackageTarget(parent, job.request, job.proposedFileName);
    if (target.isEmpty())
        return;
    PackageRequest request = job.request;
    request.withDayFiles = choices->dayFiles;
    request.who = currentOperator();
    request.made = QDateTime::currentDateTime();
    makePackage(parent, request, target, choices->cardDay);
}

QString evidencePackageName(const QString& card, QDate day)
{
    return proposedFileName(QStringLiteral("證據包"), {card, dayText(day)}, QStringLiteral("zip"));
}

QString casePackageName(const QString& caseName)
{
    return proposedFileName(QStringLiteral("證據包"), {caseName}, QStringLiteral("zip"));
}

} // namespace card
