#include "ui/reports/evidence_report.h"

#include "core/platform/file_exists.h"
#include "core/records/card_day.h"
#include "core/text/day_text.h"
#include "core/text/file_names.h"
#include "core/text/time_of_day.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/reports/report_fields.h"
#include "ui/reports/report_photo.h"
#include "ui/reports/report_texts.h"

namespace card {

namespace {

// Frames and the card's other swipes are shown small; only the photo itself fills the page.
constexpr qreal kFrameWidth = 160;
constexpr qreal kThumbnailWidth = 96;

QString photoCaption(const FramePhoto& photo)
{
    return photo.frame == 0 ? report_texts::kStillPhoto : report_texts::frameCaption(photo.frame);
}

void addPhotos(ReportPages& report, const Swipe& swipe, const PictureTone& tone)
{
    const SwipePhotos photos = findSwipePhotos(swipe, fileExists);
    if (photos.frames.isEmpty()) {
        report.addPictureRows({{{}, report_texts::kStillPhoto}}, kFrameWidth);
        return;
    }
    const FramePhoto& shown = photos.frames.constLast(); // the still photo or the highest frame
    report.addPicture(reportPhoto(shown.path), photoCaption(shown));
    if (!tone.isPlain())
        report.addPicture(reportPhoto(shown.path, tone),
                          report_texts::kAdjustedPhoto.arg(photoCaption(shown), toneText(tone)));
    if (photos.outcome != PhotoOutcome::Sequence)
        return;
    QList<CaptionedPicture> frames;
    for (auto frame = photos.frames.crbegin(); frame != photos.frames.crend(); ++frame)
        frames.append({reportPhoto(frame->path), photoCaption(*frame)});
    report.addPictureRows(frames, kFrameWidth);
}

void addCardDay(ReportPages& report, const Swipe& swipe)
{
    const CardDay day = readCardDay(swipe);
    QList<CaptionedPicture> others;
    for (qsizetype row = 0; row < day.swipes.size(); ++row) {
        if (row == day.shownRow)
            continue;
        const Swipe& other = day.swipes[row];
        others.append({swipeReportPhoto(other), other.time + u' ' + other.direction});
    }
    if (others.isEmpty()) {
        report.addFields({{report_texts::kCardDayHeading, report_texts::kNoOtherSwipes}});
        return;
    }
    report.addHeading(report_texts::kCardDayHeading);
    report.addPictureRows(others, kThumbnailWidth);
}

} // namespace

void addEvidenceSheet(ReportPages& report, const EvidenceRequest& request)
{
    using namespace report_texts;
    const Swipe& swipe = request.swipe;
    const QList<std::pair<QString, QString>> subject{{kDateLabel, dayText(swipe.day)},
                                                     {kTimeLabel, swipe.time},
                                                     {kCardLabel, swipe.card},
                                                     {kNameLabel, swipe.name}};
    report.setSubject(fieldsLine(subject));
    report.addFields(siteFields(swipe.parameterFile, swipe.recordsFolder) + subject +
                     QList<std::pair<QString, QString>>{{kDirectionLabel, swipe.direction}});
    report.addSpace(6);
    addPhotos(report, swipe, request.tone);
    report.addSpace(6);
    addCardDay(report, swipe);
}

ReportPages evidenceReport(const EvidenceRequest& request)
{
    ReportStamp stamp = stampNow();
    stamp.made = request.made;
    ReportPages report(request.tone.isPlain()
                           ? report_texts::kSwipeTitle
                           : report_texts::kAdjustedSwipeTitle.arg(toneText(request.tone)),
                       stamp);
    addEvidenceSheet(report, request);
    return report;
}

QString evidencePdfName(const Swipe& swipe)
{
    return proposedFileName(QStringLiteral("證據單"),
                            {swipe.card, dayText(swipe.day), timeOfDayDigits(swipe.time)},
                            QStringLiteral("pdf"));
}

} // namespace card
