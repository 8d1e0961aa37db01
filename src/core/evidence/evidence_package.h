// The evidence package: the swipes' photo files and day-file lines as untouched originals in one
// ZIP file, with a report, a manifest and a sha256sum list that let anyone check them.
#pragma once

#include "core/cases/case_records.h"
#include "core/records/swipe.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

namespace card {

struct PackageSwipe {
    Swipe swipe; // its folders and parameter file name its site
    QString siteCaption;
    QString note; // the case note, if any
};

struct PackageRequest {
    QList<PackageSwipe> swipes;
    bool withDayFiles = false;   // each day file whole beside the card's lines
    bool keepUnreadable = false; // pack the rest, naming unreadable photos, instead of failing
    QString origin;              // the filters or the case the swipes came from, for people
    QString caseName;
    StoreOperator who;
    QDateTime made; // with the machine's UTC offset
};

// A file in the package, or a site photo that could not be packed.
struct PackedFile {
    QString path;   // in the package: photos/…, records/…, README.txt
    QString source; // the site file it was read from; empty for files the package writes
    qint64 size = 0;
    QByteArray sha256;  // hexadecimal, of the bytes in the package
    QString unreadable; // why the site file was not packed; then size and hash are empty
};

// A day file as it was read for the package.
struct DayFileFacts {
    QDate day;
    QString path;
    qint64 size = 0;
    QDateTime modified;
    QByteArray sha256; // of the whole file as read
};

struct PackageFacts {
    PackageRequest request;
    QList<DayFileFacts> dayFiles;
    QList<PackedFile> files; // in package order; photos not packed carry their reason
};

enum class PackageStatus {
    Ok,
    Refused,         // the target is a site folder or file, or lies in one
    PhotoUnreadable, // a photo could not be read whole (path names it)
    DayMissing,      // a swipe's day file is not there (path names it)
    DayUnreadable,   // a day file could not be read whole (path names it)
    WriteFailed,     // the package could not be written (reason says why)
    Cancelled,
};

struct PackageOutcome {
    PackageStatus status = PackageStatus::Ok;
    QString path;   // the file that failed, or the protected place of a refusal
    QString reason; // the system's words
    PackageFacts facts;
    QByteArray packageSha256; // of the written ZIP file, hexadecimal
};

// Writes the report of a package as PDF into pdf, made from the facts of the files packed so far;
// false when it could not.
using PackageReport = std::function<bool(const PackageFacts& facts, QIODevice& pdf)>;
// Called after each file read and after the report with the steps done and their count; false
// cancels.
using PackageProgress = std::function<bool(int done, int total)>;

// The names of the package's own files.
inline const QString kManifestSums = QStringLiteral("manifest.sha256");
inline const QString kManifestJson = QStringLiteral("manifest.json");
inline const QString kReportPdf = QStringLiteral("report.pdf");
inline const QString kReadme = QStringLiteral("README.txt");

// Reads every photo and day file of the request once (blocking: call it off the interface
// thread), packs them with the report and the manifests into target, written safely (nothing is
// left at target on a failure). Nothing is re-encoded: the packed bytes are the bytes read.
PackageOutcome writeEvidencePackage(const PackageRequest& request, const QString& target,
                                    const PackageReport& report,
                                    const PackageProgress& progress = {});

// The site's caption as the main window shows it for the parameter file.
QString siteCaptionOf(const QString& parameterFile);

// The manifest's facts as JSON.
QByteArray manifestJson(const PackageFacts& facts);

// sha256sum's list of files: "<hash>  <path>" a line.
QByteArray sha256SumList(const QList<PackedFile>& files);

} // namespace card
