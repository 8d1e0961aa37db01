// The roll call's "confirmed safe" ticks, kept as trail lines so that a roll call can be shown
// again later, by another operator or after a restart, with who ticked whom and when.
#pragma once

#include "core/cases/case_records.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace card {

// A person at a roll call: the entry swipe that put them inside, at a site.
struct SafetyEntry {
    QString sitePath; // the parameter file
    QDate day;
    QString time; // as the record has it
    QString card;
    QString name;
};

// Who ticked a person as safe, and when; no one when the tick was taken back.
struct SafetyTick {
    QString who;
    QDateTime when;
};

// The trail line of a tick given or taken back, readable by people and by readSafetyLine.
QString safetyLine(const SafetyEntry& entry);
std::optional<SafetyEntry> readSafetyLine(const QString& line);

// The ticks standing at the site after the trail's ticks and withdrawals (in any order), by
// the entry's swipeKey: the latest line for an entry wins, and a withdrawal leaves no tick.
QHash<QString, SafetyTick> standingTicks(QList<TrailEntry> trail, const QString& sitePath);

} // namespace card
