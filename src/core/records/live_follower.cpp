#include "core/records/live_follower.h"

#include "core/platform/file_access.h"
#include "core/platform/file_bytes.h"
#include "core/platform/site_folders.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "core/records/record_table.h"
#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"

#include <QHashFunctions>

#include <algorithm>
#include <deque>
#include <unordered_map>

namespace card {

namespace {

// Bytes before the next unread record that each poll reads again: when they have changed, the
// file was rewritten.
constexpr qsizetype kOverlapBytes = 64;

// Where the last kLiveStartRecords whole records of the file at path begin (its start when it
// holds fewer). The file is walked from its start, window by window, because only there is a
// record known to begin: a line start later on may lie inside a record, and the live view must
// read the records the query reads.
FileReadStatus lastRecordsStart(const QString& path, qint64& start)
{
    std::deque<qint64> starts;
    FileWindows windows(path);
    qsizetype used = 0;
    while (windows.next(used)) {
        const QByteArrayView bytes = windows.bytes();
        const qsizetype from = windows.offset() == 0 ? utf8BomLength(bytes) : 0;
        used = completeRecordsEnd(bytes, from);
        const RecordTable table =
            readRecords(QByteArray::fromRawData(bytes.data(), used), RecordCriteria{});
        for (qsizetype row = std::max<qsizetype>(0, table.rowCount() - kLiveStartRecords);
             row < table.rowCount(); ++row)
            starts.push_back(windows.offset() + table.recordStart(row));
        while (starts.size() > static_cast<size_t>(kLiveStartRecords))
            starts.pop_front();
    }
    start = starts.empty() ? 0 : starts.front();
    return windows.status();
}

// The same record written again gives the same hash, whatever file it lies in.
size_t recordHash(QByteArrayView bytes, const RecordSlices& record)
{
    size_t seed = 0;
    for (const ValueSlice& value : record)
        seed = qHashMulti(seed, bytes.sliced(value.begin, value.length), value.isNumber);
    return seed;
}

} // namespace

bool liveConnectionLost(const QDateTime& lastAnswer, const QDateTime& now)
{
    return lastAnswer.msecsTo(now) > std::chrono::milliseconds(kLiveSilenceLimit).count();
}

struct DayFileFollower::Batch {
    RecordTable table;
    std::vector<size_t> hashes; // one per row
};

DayFileFollower::DayFileFollower(QString recordsFolder, QString photoFolder, QString parameterFile,
                                 qsizetype reportLimit)
    : m_recordsFolder(std::move(recordsFolder))
    , m_photoFolder(std::move(photoFolder))
    , m_parameterFile(std::move(parameterFile))
    , m_reportLimit(reportLimit)
{}

LivePoll DayFileFollower::poll(const QDateTime& now)
{
    LivePoll result;
    const QDate today = now.date();
    if (!m_day.isValid())
        m_day = today;
    if (today != m_day) {
        // The old day's last records first; what cannot be read now stays for the query.
        if (m_started)
            readAppended(result.swipes);
        switchToDay(today);
    }
    result.state = m_started ? readAppended(result.swipes) : readLastRecords(result.swipes);
    result.day = m_day;
    if (result.swipes.size() > m_reportLimit)
        result.swipes.remove(0, result.swipes.size() - m_reportLimit);
    return result;
}

void DayFileFollower::continueAfter(QDate day, const QByteArray& bytes, qsizetype end)
{
    switchToDay(day);
    acceptEnd(bytes, end, 0);
}

qsizetype DayFileFollower::memoryUse() const
{
    return m_lastBytes.capacity() +
           static_cast<qsizetype>(m_seen.capacity() * sizeof(decltype(m_seen)::value_type));
}

QString DayFileFollower::path() const
{
    return recordFilePath(m_recordsFolder, m_day);
}

void DayFileFollower::switchToDay(QDate day)
{
    m_day = day;
    m_started = true; // every record of a new day is new
    m_offset = 0;
    m_lastBytes.clear();
    m_seen.clear();
}

LivePoll::State DayFileFollower::unopenedFileState() const
{
    FileAccess& files = fileAccess();
    const QString folder = localFolder(m_recordsFolder);
    if (!files.canEnterFolder(folder))
        return files.isFolder(folder) ? LivePoll::State::FolderDenied : LivePoll::State::Lost;
    return files.exists(path()) ? LivePoll::State::FileDenied : LivePoll::State::Waiting;
}

LivePoll::State DayFileFollower::readAppended(QList<Swipe>& swipes)
{
    const qsizetype overlap = m_lastBytes.size();
    const qint64 from = m_offset - overlap;
    QByteArray bytes;
    qint64 size = 0;
    const FileReadStatus status = readFileFrom(path(), from, kMaxRecordFileSize, bytes, size);
    if (status == FileReadStatus::CannotOpen)
        return unopenedFileState();
    if (status != FileReadStatus::Ok)
        return LivePoll::State::Lost;
    if (size < m_offset || !bytes.startsWith(m_lastBytes))
        return readAgain(swipes);
    const qsizetype start = m_offset == 0 ? utf8BomLength(bytes) : overlap;
    const qsizetype end = completeRecordsEnd(bytes, start);
    if (end == start)
        return LivePoll::State::Following;
    const Batch batch = parse(bytes, start, end);
    m_seen.insert(m_seen.end(), batch.hashes.cbegin(), batch.hashes.cend());
    report(batch, 0, swipes);
    acceptEnd(bytes, end, from);
    return LivePoll::State::Following;
}

LivePoll::State DayFileFollower::readLastRecords(QList<Swipe>& swipes)
{
    qint64 from = 0;
    FileReadStatus status = lastRecordsStart(path(), from);
    QByteArray bytes;
    qint64 size = 0;
    if (status == FileReadStatus::Ok)
        status = readFileFrom(path(), from, kMaxRecordFileSize, bytes, size);
    if (status == FileReadStatus::CannotOpen) {
        const LivePoll::State state = unopenedFileState();
        m_started = state == LivePoll::State::Waiting; // the file's records, when it comes, are new
        return state;
    }
    if (status != FileReadStatus::Ok)
        return LivePoll::State::Lost;
    const qsizetype start = from == 0 ? utf8BomLength(bytes) : 0;
    const qsizetype end = completeRecordsEnd(bytes, start);
    const Batch batch = parse(bytes, start, end);
    m_started = true;
    m_seen = batch.hashes;
    report(batch, batch.table.rowCount() - kLiveStartRecords, swipes);
    acceptEnd(bytes, end, from);
    return LivePoll::State::Following;
}

LivePoll::State DayFileFollower::readAgain(QList<Swipe>& swipes)
{
    QByteArray bytes;
    const FileReadStatus status = readFileSnapshot(path(), kMaxRecordFileSize, bytes);
    if (status == FileReadStatus::CannotOpen)
        return unopenedFileState();
    if (status != FileReadStatus::Ok)
        return LivePoll::State::Lost;
    const qsizetype start = utf8BomLength(bytes);
    const qsizetype end = completeRecordsEnd(bytes, start);
    const Batch batch = parse(bytes, start, end);
    // A file caught empty halfway through a rewrite: nothing changes until it holds records.
    if (batch.table.rowCount() == 0 && !m_seen.empty())
        return LivePoll::State::Following;

    // The records seen before are looked for in the new file: those after the first one found
    // that were not seen are new; those before it were in the file before the view opened.
    // When none is found the file is another one, and all of it is new.
    std::unordered_map<size_t, int> seen;
    for (const size_t hash : m_seen)
        ++seen[hash];
    bool anchored = m_seen.empty();
    std::vector<qsizetype> fresh;
    for (qsizetype row = 0; row < batch.table.rowCount(); ++row) {
        const auto found = seen.find(batch.hashes[static_cast<size_t>(row)]);
        if (found != seen.end() && found->second > 0) {
            --found->second;
            anchored = true;
        } else if (anchored) {
            fresh.push_back(row);
        }
    }
    if (anchored) {
        const size_t first =
            fresh.size() - std::min(fresh.size(), static_cast<size_t>(m_reportLimit));
        for (size_t i = first; i < fresh.size(); ++i)
            appendSwipe(batch, fresh[i], swipes);
        m_seen = batch.hashes;
    } else {
        // Another file: what was seen stays seen, should the earlier records come back.
        report(batch, 0, swipes);
        m_seen.insert(m_seen.end(), batch.hashes.cbegin(), batch.hashes.cend());
    }
    acceptEnd(bytes, end, 0);
    return LivePoll::State::Following;
}

DayFileFollower::Batch DayFileFollower::parse(const QByteArray& bytes, qsizetype from,
                                              qsizetype end) const
{
    Batch batch{readRecords(bytes.sliced(from, end - from), RecordCriteria{}), {}};
    const QByteArrayView content = batch.table.bytes();
    batch.hashes.reserve(static_cast<size_t>(batch.table.rowCount()));
    for (qsizetype row = 0; row < batch.table.rowCount(); ++row)
        batch.hashes.push_back(recordHash(content, batch.table.slices(row)));
    return batch;
}

void DayFileFollower::acceptEnd(const QByteArray& bytes, qsizetype end, qint64 fileOffsetOfBytes)
{
    m_offset = fileOffsetOfBytes + end;
    const qsizetype kept = std::min(end, kOverlapBytes);
    m_lastBytes = bytes.sliced(end - kept, kept);
}

void DayFileFollower::report(const Batch& batch, qsizetype first, QList<Swipe>& swipes) const
{
    const qsizetype rows = batch.table.rowCount();
    for (qsizetype row = std::max({first, rows - m_reportLimit, qsizetype(0)}); row < rows; ++row)
        appendSwipe(batch, row, swipes);
}

void DayFileFollower::appendSwipe(const Batch& batch, qsizetype row, QList<Swipe>& swipes) const
{
    swipes.append(
        swipeOfRow(batch.table, row, m_day, m_recordsFolder, m_photoFolder, m_parameterFile));
}

} // namespace card
