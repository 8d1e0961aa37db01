#include "core/cases/safety_ticks.h"

#include "core/cases/case_store.h"
#include "core/cases/trail_actions.h"

#include <QRegularExpression>

#include <algorithm>

namespace card {

QString safetyLine(const SafetyEntry& entry)
{
    return QStringLiteral("卡號 %1，%2，進入 %3 %4，站台 %5")
        .arg(entry.card, entry.name, entry.day.toString(Qt::ISODate), entry.time, entry.sitePath);
}

std::optional<SafetyEntry> readSafetyLine(const QString& line)
{
    static const QRegularExpression form(
        QStringLiteral("^卡號 ([^，]+)，(.*)，進入 (\\d{4}-\\d{2}-\\d{2}) ([^，]+)，站台 (.+)$"));
    const QRegularExpressionMatch match = form.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate day = QDate::fromString(match.captured(3), Qt::ISODate);
    if (!day.isValid())
        return std::nullopt;
    return SafetyEntry{match.captured(5), day, match.captured(4), match.captured(1),
                       match.captured(2)};
}

QHash<QString, SafetyTick> standingTicks(QList<TrailEntry> trail, const QString& sitePath)
{
    // The store numbers its lines in the order they landed.
    std::sort(trail.begin(), trail.end(),
              [](const TrailEntry& a, const TrailEntry& b) { return a.id < b.id; });
    QHash<QString, SafetyTick> ticks;
    for (const TrailEntry& line : std::as_const(trail)) {
        const bool confirmed = line.action == trail::kSafeConfirmed;
        if (!confirmed && line.action != trail::kSafeWithdrawn)
            continue;
        const std::optional<SafetyEntry> entry = readSafetyLine(line.details);
        if (!entry || entry->sitePath != sitePath)
            continue;
        const QString key = swipeKey(entry->day, entry->time, entry->card);
        if (confirmed)
            ticks.insert(key, {line.user, line.time});
        else
            ticks.remove(key);
    }
    return ticks;
}

} // namespace card
