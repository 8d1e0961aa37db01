// What the case store keeps: cases, the swipes in them, and the trail of who did what.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace card {

// Who works at the store: the operator's user name and the machine's name.
struct StoreOperator {
    QString user;
    QString machine;
};

// The operator logged in on this machine.
StoreOperator currentOperator();

// One line of the trail. The time keeps the UTC offset of the machine that recorded it.
struct TrailEntry {
    qint64 id = 0;
    QDateTime time;
    QString user;
    QString machine;
    QString action;   // one of the trail's action words (trail_actions.h)
    QString caseName; // empty when the action belongs to no case
    QString details;
};

// Which trail lines to list; an empty field or no day lets every line through.
struct TrailFilter {
    QString caseName;
    QString user;
    QString action;
    std::optional<QDate> day; // the day as the recording machine's clock had it
};

struct CaseSummary {
    qint64 id = 0;
    QString name;
    QString description;
    bool closed = false;
    QString madeBy;
    QDateTime madeAt;
    int swipeCount = 0;
};

// A swipe as it was found at its site, with the operator's note.
struct CaseSwipe {
    qint64 id = 0;         // given by the store
    QString sitePath;      // the parameter file
    QString siteCaption;   // the site's caption as the window showed it
    QString recordsFolder; // as the parameter file gave them
    QString photoFolder;
    QDate day;
    QString time; // HH:MM:SS as the record has it
    QString card;
    QString name;
    QString direction;
    QStringList photos; // the photo files found for the swipe
    QString note;
    QString addedBy;   // given by the store
    QDateTime addedAt; // given by the store
};

// The photo an operator chose as the face a card should show at a site, kept whole so that it
// outlives the site's clean-up of its photo folder.
struct CardReference {
    QString sitePath; // the parameter file
    QString card;
    QString name;       // the cardholder's name on the swipe
    QDate day;          // the swipe the photo was taken at
    QString time;       // HH:MM:SS as the record has it
    QString fileName;   // the photo file's name
    QByteArray image;   // the photo file's bytes
    QString sha256;     // of the bytes, in hex; given by the store
    QString pinnedBy;   // given by the store
    QDateTime pinnedAt; // given by the store
};

// One line of a swipe for the trail and for people: day, time, card, name and direction.
QString swipeLine(const CaseSwipe& swipe);

} // namespace card
