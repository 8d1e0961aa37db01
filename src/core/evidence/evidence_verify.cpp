#include "core/evidence/evidence_verify.h"

#include "core/evidence/evidence_package.h"
#include "core/evidence/evidence_texts.h"
#include "core/evidence/zip_archive.h"

#include <QHash>

namespace card {

namespace {

// A package's sha256sum list is a line a file; far larger is no list of ours.
constexpr qint64 kMaxSumListSize = 64 * 1024 * 1024;

// The list's hashes by path; sha256sum's binary mark ('*' before the path) is accepted too.
QHash<QString, QByteArray> readSumList(const QByteArray& list)
{
    QHash<QString, QByteArray> sums;
    for (const QByteArray& line : list.split('\n')) {
        if (line.size() < 66 || line[64] != ' ' || (line[65] != ' ' && line[65] != '*'))
            continue;
        sums.insert(QString::fromUtf8(line.mid(66)), line.left(64).toLower());
    }
    return sums;
}

} // namespace

VerifyOutcome verifyPackage(const QString& path)
{
    VerifyOutcome outcome;
    const std::optional<QByteArray> list = readZipEntry(path, kManifestSums, kMaxSumListSize);
    if (!list)
        return outcome;
    QHash<QString, QByteArray> expected = readSumList(*list);
    const ZipReadStatus status = hashZipEntries(path, [&](const ZipEntryHash& entry) {
        if (entry.path == kManifestSums)
            return;
        const auto listed = expected.constFind(entry.path);
        if (listed == expected.constEnd()) {
            outcome.added.append(entry.path);
            return;
        }
        if (entry.sha256 != *listed)
            outcome.changed.append(entry.path);
        expected.erase(listed);
    });
    if (status == ZipReadStatus::NotZip)
        return outcome;
    outcome.missing = expected.keys();
    outcome.missing.sort();
    const bool intact =
        outcome.changed.isEmpty() && outcome.missing.isEmpty() && outcome.added.isEmpty();
    outcome.status = intact ? VerifyOutcome::Status::Intact : VerifyOutcome::Status::Changed;
    return outcome;
}

QString verifyLines(const VerifyOutcome& outcome, const QString& path)
{
    using namespace evidence_texts;
    switch (outcome.status) {
    case VerifyOutcome::Status::Intact:
        return kIntact + u'\n';
    case VerifyOutcome::Status::NotPackage:
        return kNotPackage.arg(path) + u'\n';
    case VerifyOutcome::Status::Changed:
        break;
    }
    QString lines;
    for (const QString& file : outcome.changed)
        lines += kChanged.arg(file) + u'\n';
    for (const QString& file : outcome.missing)
        lines += kMissing.arg(file) + u'\n';
    for (const QString& file : outcome.added)
        lines += kAdded.arg(file) + u'\n';
    return lines;
}

int verifyExitStatus(const VerifyOutcome& outcome)
{
    switch (outcome.status) {
    case VerifyOutcome::Status::Intact:
        return 0;
    case VerifyOutcome::Status::Changed:
        return 1;
    case VerifyOutcome::Status::NotPackage:
        break;
    }
    return 2;
}

} // namespace card
