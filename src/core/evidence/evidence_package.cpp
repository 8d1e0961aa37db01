#include "core/evidence/evidence_package.h"

#include "core/evidence/evidence_texts.h"
#include "core/evidence/zip_archive.h"
#include "core/photos/swipe_photos.h"
#include "core/platform/file_access.h"
#include "core/platform/file_exists.h"
#include "core/platform/product.h"
#include "core/platform/safe_write.h"
#include "core/records/card_day.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "core/startup/command_line.h"
#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryFile>

#include <vector>

namespace card {

namespace {

// A photo of 12 megapixels is a few megabytes; nothing larger is a photo of a swipe.
constexpr qint64 kMaxPhotoSize = 256 * 1024 * 1024;

QString isoTime(const QDateTime& time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

// A site file read whole, once: the bytes and what the file system said of it just before.
struct SiteFile {
    QByteArray bytes;
    QDateTime modified;
    QString failure; // empty when the bytes are the whole file
};

SiteFile readSiteFile(const QString& path, qint64 maxSize)
{
    SiteFile read;
    const QFileInfo info(path);
    read.modified = info.lastModified();
    const qint64 size = info.size();
    const FileReadStatus status = fileAccess().readSnapshot(path, maxSize, read.bytes);
    if (status != FileReadStatus::Ok)
        read.failure = evidence_texts::kCannotRead;
    else if (read.bytes.size() != size)
        read.failure = evidence_texts::kChangedWhileRead;
    return read;
}

// The card's records of a day file, as the bytes they are written in: each from where the
// value reader begins it to the separator after its last value.
QByteArray cardLines(const QByteArray& bytes, const QStringList& cards)
{
    std::vector<RecordFilter> filters;
    for (const QString& card : cards)
        filters.emplace_back(cardDayCriteria(card));
    QByteArray lines;
    ValueReader reader(bytes, utf8BomLength(bytes));
    RecordSlices record;
    for (qsizetype start = reader.position(); readRecord(reader, record);
         start = reader.position()) {
        for (const RecordFilter& filter : filters) {
            if (filter.keeps(bytes, start, record)) {
                lines += QByteArrayView(bytes).sliced(start, reader.position() - start);
                break;
            }
        }
    }
    return lines;
}

// Names in the package are unique: a second file of the same name (a case of two sites) gets a
// number before its extension.
class PackageNames {
public:
    QString claim(const QString& folder, const QString& name)
    {
        const QFileInfo parts(name);
        QString path = folder + u'/' + name;
        for (int number = 2; m_taken.contains(path); ++number) {
            path = folder + u'/' + parts.completeBaseName() + u'-' + QString::number(number);
            if (!parts.suffix().isEmpty())
                path += u'.' + parts.suffix();
        }
        m_taken.insert(path);
        return path;
    }

private:
    QSet<QString> m_taken;
};

// One day file of one site, with the cards whose lines are taken from it.
struct DayToRead {
    QString recordsFolder;
    QDate day;
    QStringList cards;
};

QList<DayToRead> daysToRead(const QList<PackageSwipe>& swipes)
{
    QList<DayToRead> days;
    for (const PackageSwipe& item : swipes) {
        const Swipe& swipe = item.swipe;
        auto day = std::find_if(days.begin(), days.end(), [&](const DayToRead& known) {
            return known.recordsFolder == swipe.recordsFolder && known.day == swipe.day;
        });
        if (day == days.end())
            days.append({swipe.recordsFolder, swipe.day, {swipe.card}});
        else if (!day->cards.contains(swipe.card))
            day->cards.append(swipe.card);
    }
    return days;
}

QStringList protectedPlacesOf(const QList<PackageSwipe>& swipes)
{
    QStringList places;
    for (const PackageSwipe& item : swipes) {
        for (const QString& place : item.swipe.protectedPlaces()) {
            if (!place.isEmpty() && !places.contains(place))
                places.append(place);
        }
    }
    return places;
}

// Writes the package's entries one after another, keeping each file's facts.
class PackageWriter {
public:
    PackageWriter(const PackageRequest& request, const PackageProgress& progress,
                  PackageOutcome& outcome)
        : m_request(request)
        , m_progress(progress)
        , m_outcome(outcome)
    {
        m_outcome.facts.request = request;
        for (const PackageSwipe& item : request.swipes)
            m_photos.append(findSwipePhotos(item.swipe.photoFolder, item.swipe.card, item.swipe.day,
                                            item.swipe.time, fileExists)
                                .frames);
        m_days = daysToRead(request.swipes);
    }

    bool write(QIODevice& device, const PackageReport& report)
    {
        ZipWriter zip(device);
        m_zip = &zip;
        // Photos are stored as they are: JPEG files gain nothing from deflating.
        const bool written =
            add(kReadme, evidence_texts::readmeText(), ZipWriter::Packing::Deflate) && addDays() &&
            addPhotos() && addReport(report) && stepDone() &&
            add(kManifestJson, manifestJson(m_outcome.facts), ZipWriter::Packing::Deflate) &&
            addSumList() && zip.finish();
        if (!written && m_outcome.status == PackageStatus::Ok) {
            m_outcome.status = PackageStatus::WriteFailed;
            m_outcome.reason = zip.errorText();
        }
        return written;
    }

private:
    bool add(const QString& path, const QByteArray& bytes, ZipWriter::Packing packing,
             const QString& source = {})
    {
        if (!m_zip->add(path, bytes, m_request.made, packing))
            return false;
        m_outcome.facts.files.append({path, source, bytes.size(), sha256Hex(bytes), {}});
        return true;
    }

    // Painted into a temporary file and packed from it in pieces: the report of a case of many
    // photos is never held whole. Stored as it is: its streams are compressed already.
    bool addReport(const PackageReport& report)
    {
        QTemporaryFile pdf;
        if (!pdf.open() || !report(m_outcome.facts, pdf) || !pdf.seek(0))
            return fail(PackageStatus::WriteFailed, kReportPdf, pdf.errorString());
        QByteArray sha256;
        if (!m_zip->add(kReportPdf, pdf, m_request.made, ZipWriter::Packing::Store, sha256))
            return false;
        m_outcome.facts.files.append({kReportPdf, {}, pdf.size(), sha256, {}});
        return true;
    }

    bool fail(PackageStatus status, const QString& path, const QString& reason)
    {
        m_outcome.status = status;
        m_outcome.path = path;
        m_outcome.reason = reason;
        return false;
    }

    bool stepDone()
    {
        ++m_done;
        // The report, painted after the files, is the last step.
        if (!m_progress || m_progress(m_done, int(m_days.size() + m_photos.size()) + 1))
            return true;
        return fail(PackageStatus::Cancelled, {}, {});
    }

    bool addDays()
    {
        for (const DayToRead& day : m_days) {
            const QString path = recordFilePath(day.recordsFolder, day.day);
            if (!fileExists(path))
                return fail(PackageStatus::DayMissing, path, {});
            const SiteFile file = readSiteFile(path, kMaxRecordFileSize);
            if (!file.failure.isEmpty())
                return fail(PackageStatus::DayUnreadable, path, file.failure);
            m_outcome.facts.dayFiles.append(
                {day.day, path, file.bytes.size(), file.modified, sha256Hex(file.bytes)});
            const QString baseName = QFileInfo(recordFileName(day.day)).completeBaseName();
            if (!add(m_names.claim(QStringLiteral("records"),
                                   baseName + QStringLiteral("-lines.txt")),
                     cardLines(file.bytes, day.cards), ZipWriter::Packing::Deflate, path))
                return false;
            if (m_request.withDayFiles &&
                !add(m_names.claim(QStringLiteral("records"), recordFileName(day.day)), file.bytes,
                     ZipWriter::Packing::Deflate, path))
                return false;
            if (!stepDone())
                return false;
        }
        return true;
    }

    bool addPhotos()
    {
        for (const FramePhoto& photo : m_photos) {
            const SiteFile file = readSiteFile(photo.path, kMaxPhotoSize);
            const QString name =
                m_names.claim(QStringLiteral("photos"), QFileInfo(photo.path).fileName());
            if (!file.failure.isEmpty()) {
                if (!m_request.keepUnreadable)
                    return fail(PackageStatus::PhotoUnreadable, photo.path, file.failure);
                m_outcome.facts.files.append({name, photo.path, 0, {}, file.failure});
            } else if (!add(name, file.bytes, ZipWriter::Packing::Store, photo.path)) {
                return false;
            }
            if (!stepDone())
                return false;
        }
        return true;
    }

    bool addSumList()
    {
        const QByteArray list = sha256SumList(m_outcome.facts.files);
        return m_zip->add(kManifestSums, list, m_request.made, ZipWriter::Packing::Deflate);
    }

    const PackageRequest& m_request;
    const PackageProgress& m_progress;
    PackageOutcome& m_outcome;
    QList<FramePhoto> m_photos;
    QList<DayToRead> m_days;
    PackageNames m_names;
    ZipWriter* m_zip = nullptr;
    int m_done = 0;
};

QByteArray fileSha256(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

QJsonObject swipeJson(const PackageSwipe& item)
{
    const Swipe& swipe = item.swipe;
    return {{QStringLiteral("parameterFile"), swipe.parameterFile},
            {QStringLiteral("site"), item.siteCaption},
            {QStringLiteral("day"), swipe.day.toString(Qt::ISODate)},
            {QStringLiteral("time"), swipe.time},
            {QStringLiteral("card"), swipe.card},
            {QStringLiteral("name"), swipe.name},
            {QStringLiteral("direction"), swipe.direction},
            {QStringLiteral("recordsFolder"), swipe.recordsFolder},
            {QStringLiteral("photoFolder"), swipe.photoFolder},
            {QStringLiteral("note"), item.note}};
}

QJsonObject dayFileJson(const DayFileFacts& day)
{
    return {{QStringLiteral("day"), day.day.toString(Qt::ISODate)},
            {QStringLiteral("path"), day.path},
            {QStringLiteral("size"), day.size},
            {QStringLiteral("modified"), isoTime(day.modified)},
            {QStringLiteral("sha256"), QString::fromLatin1(day.sha256)}};
}

QJsonObject fileJson(const PackedFile& file)
{
    QJsonObject object{{QStringLiteral("path"), file.path},
                       {QStringLiteral("source"), file.source}};
    if (file.unreadable.isEmpty()) {
        object.insert(QStringLiteral("size"), file.size);
        object.insert(QStringLiteral("sha256"), QString::fromLatin1(file.sha256));
    } else {
        object.insert(QStringLiteral("unreadable"), file.unreadable);
    }
    return object;
}

} // namespace

PackageOutcome writeEvidencePackage(const PackageRequest& request, const QString& target,
                                    const PackageReport& report, const PackageProgress& progress)
{
    PackageOutcome outcome;
    PackageWriter writer(request, progress, outcome);
    const SafeWriteResult written =
        writeFileSafely(target, protectedPlacesOf(request.swipes),
                        [&](QIODevice& file) { return writer.write(file, report); });
    if (written.status == SafeWriteStatus::Refused) {
        outcome.status = PackageStatus::Refused;
        outcome.path = written.reason;
    } else if (!written.ok() && outcome.status == PackageStatus::Ok) {
        outcome.status = PackageStatus::WriteFailed;
        outcome.path = written.path;
        outcome.reason = written.reason;
    }
    if (outcome.status == PackageStatus::Ok)
        outcome.packageSha256 = fileSha256(target);
    return outcome;
}

QString siteCaptionOf(const QString& parameterFile)
{
    return kProductTitle + QStringLiteral("：") + parameterFile;
}

QByteArray manifestJson(const PackageFacts& facts)
{
    const PackageRequest& request = facts.request;
    QJsonArray swipes;
    for (const PackageSwipe& item : request.swipes)
        swipes.append(swipeJson(item));
    QJsonArray days;
    for (const DayFileFacts& day : facts.dayFiles)
        days.append(dayFileJson(day));
    QJsonArray files;
    for (const PackedFile& file : facts.files)
        files.append(fileJson(file));
    const QJsonObject manifest{
        {QStringLiteral("program"), kProductTitle},
        {QStringLiteral("version"), programVersion()},
        {QStringLiteral("made"), isoTime(request.made)},
        {QStringLiteral("operator"), request.who.user},
        {QStringLiteral("machine"), request.who.machine},
        {QStringLiteral("origin"), request.origin},
        {QStringLiteral("case"), request.caseName},
        {QStringLiteral("swipes"), swipes},
        {QStringLiteral("dayFiles"), days},
        {QStringLiteral("files"), files},
    };
    return QJsonDocument(manifest).toJson(QJsonDocument::Indented);
}

QByteArray sha256SumList(const QList<PackedFile>& files)
{
    QByteArray list;
    for (const PackedFile& file : files) {
        if (file.unreadable.isEmpty())
            list += file.sha256 + "  " + file.path.toUtf8() + '\n';
    }
    return list;
}

} // namespace card
