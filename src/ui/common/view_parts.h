// Controls that several windows build alike: the asking row of a range of days, the table of
// found rows and the strip of small pictures. Each window adds what is its own.
#pragma once

#include <QList>
#include <QListView>
#include <QSize>
#include <QString>

class QAbstractItemModel;
class QComboBox;
class QDateEdit;
class QProgressBar;
class QTableView;
class QWidget;

namespace card {

// Today, in the days' written form, with a calendar to pick from.
QDateEdit* newDayEdit(QWidget* parent, const QString& name);

// "N 天" for each of dayCounts, with chosenDays chosen; each item's data is its count.
QComboBox* newRangeChoice(QWidget* parent, const QString& name, const QList<int>& dayCounts,
                          int chosenDays);

// The days read of all asked, "read / all".
QProgressBar* newDaysProgress(QWidget* parent, const QString& name);

// Whole rows chosen one at a time, never edited, without row numbers.
QTableView* newRowsTable(QWidget* parent, const QString& name, QAbstractItemModel* model);

// Small pictures of iconSize in one line that does not wrap, one chosen at a time.
QListView* newPictureStrip(QWidget* parent, const QString& name, QListView::Flow flow,
                           const QSize& iconSize);

} // namespace card
