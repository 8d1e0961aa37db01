#include "ui/common/view_parts.h"

#include "core/text/day_text.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QProgressBar>
#include <QTableView>

namespace card {

namespace {

const QString kRangeDays = QStringLiteral("%1 天");

} // namespace

QDateEdit* newDayEdit(QWidget* parent, const QString& name)
{
    auto* edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(dayFormat().toString());
    edit->setCalendarPopup(true);
    return edit;
}

QComboBox* newRangeChoice(QWidget* parent, const QString& name, const QList<int>& dayCounts,
                          int chosenDays)
{
    auto* choice = new QComboBox(parent);
    choice->setObjectName(name);
    for (const int days : dayCounts)
        choice->addItem(kRangeDays.arg(days), days);
    choice->setCurrentIndex(static_cast<int>(dayCounts.indexOf(chosenDays)));
    return choice;
}

QProgressBar* newDaysProgress(QWidget* parent, const QString& name)
{
    auto* progress = new QProgressBar(parent);
    progress->setObjectName(name);
    progress->setFormat(QStringLiteral("%v / %m"));
    progress->setValue(0);
    return progress;
}

QTableView* newRowsTable(QWidget* parent, const QString& name, QAbstractItemModel* model)
{
    auto* table = new QTableView(parent);
    table->setObjectName(name);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    return table;
}

QListView* newPictureStrip(QWidget* parent, const QString& name, QListView::Flow flow,
                           const QSize& iconSize)
{
    auto* strip = new QListView(parent);
    strip->setObjectName(name);
    strip->setViewMode(QListView::IconMode);
    strip->setFlow(flow);
    strip->setWrapping(false);
    strip->setMovement(QListView::Static);
    strip->setUniformItemSizes(true);
    strip->setWordWrap(true);
    strip->setIconSize(iconSize);
    strip->setSpacing(4);
    strip->setSelectionMode(QAbstractItemView::SingleSelection);
    strip->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return strip;
}

} // namespace card
