// One listed swipe with what is needed to find its photos and its day file again.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace card {

struct Swipe {
    QString time;      // the time as listed: 08:15:30, 8:15:30, 上午 8:15 ...
    QString card;      // the card number as listed (a plain number in its shortest form)
    QString name;      // the name as listed
    QString direction; // 進 or 出 as listed
    QDate day;
    QString recordsFolder;      // exactly as the parameter file gives it
    QString photoFolder;        // exactly as the parameter file gives it
    QString parameterFile = {}; // the site's loaded parameter file; none for a bare swipe

    // The listed texts in the lists' column order.
    QStringList columnTexts() const { return {time, card, name, direction}; }

    // The site's own folders and files, which a save never writes.
    QStringList protectedPlaces() const { return {recordsFolder, photoFolder, parameterFile}; }

    bool operator==(const Swipe&) const = default;
};

} // namespace card
