// The main window's own state, kept apart from its widgets.
#pragma once

#include "core/parameters/parameter_table.h"
#include "core/records/record_filter.h"

#include <QDate>
#include <QString>

namespace card {

// The swipe the photo box is about.
struct CurrentRecord {
    QString day;       // day of the last query, YYMMDD
    QString time;      // time of the selected swipe, hhmmss
    QString card;      // card number of the selected swipe
    QString photoPath; // the photo file chosen last
};

struct MainWindowState {
    ParameterTable parameters;
    // The parameter file loaded last, which a save never overwrites.
    QString parameterFile;
    CurrentRecord currentRecord;
    // The day of the last query: the day its listed rows belong to.
    QDate queriedDay;
    // The filters of the last query, as its listed rows were chosen.
    RecordCriteria queriedCriteria;
    // The parameter file of the site the last query read: a later load leaves the rows listed.
    QString queriedParameterFile;
    // The records folder the last query read its day's file from.
    QString queriedRecordsFolder;
    // The photo file the photo box shows; empty while it shows the start or the fallback picture.
    QString shownPhoto;
    // The window's outer size in twips at creation: the smallest size it keeps.
    qint16 baseWidth = 0;
    qint16 baseHeight = 0;
};

} // namespace card
