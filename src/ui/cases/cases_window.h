// The cases window (案件): the cases, newest first, with a search over their names,
// descriptions, notes, cards and names; the selected case's swipes with their notes and small
// pictures; and the trail of who did what, filtered by case, operator, action and day.
//
// The main window creates it once, with itself as parent, and opens a swipe it asks for in the
// inspection window. Enter or a double-click on a swipe asks for it; Esc closes the window.
#pragma once

#include "core/cases/case_records.h"
#include "core/records/swipe.h"

#include <QList>
#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListView;
class QStandardItemModel;
class QTableView;

namespace card {

class ThumbnailListModel;
class ThumbnailLoader;

class CasesWindow : public QWidget {
    Q_OBJECT
public:
    explicit CasesWindow(QWidget* parent);

    // Reads the cases, the selected case's swipes and the trail again from the store.
    void refresh();

signals:
    // The operator asked to see a swipe of a case at its site and day.
    void inspectRequested(const Swipe& swipe);

protected:
private:
    void buildParts();
    void createActions();
    void connectParts();
    QWidget* casesPage();
    QWidget* trailPage();

    void showCases();
    void showSwipes();
    void showTrail();
    void fillTrailChoices();
    void enableActions();

    const CaseSummary* selectedCase() const;
    const CaseSwipe* selectedSwipe() const;
    void inspectSelected();
    void setSelectedClosed(bool closed);
    void describeSelected();
    void editSelectedNote();
    void removeSelected();
    void copySelected();
    void exportSelectedCsv();
    void packageSelected();

    QLineEdit* m_search = nullptr;
    QTableView* m_cases = nullptr;
    QStandardItemModel* m_caseModel = nullptr;
    QListView* m_items = nullptr;
    ThumbnailListModel* m_itemModel = nullptr;
    ThumbnailLoader* m_thumbnails = nullptr;
    QTableView* m_trail = nullptr;
    QStandardItemModel* m_trailModel = nullptr;
    QComboBox* m_trailCase = nullptr;
    QComboBox* m_trailOperator = nullptr;
    QComboBox* m_trailAction = nullptr;
    QCheckBox* m_trailByDay = nullptr;
    QDateEdit* m_trailDay = nullptr;

    struct Actions {
        QAction* close = nullptr;
        QAction* reopen = nullptr;
        QAction* describe = nullptr;
        QAction* print = nullptr;
        QAction* pdf = nullptr;
        QAction* exportCsv = nullptr;
        QAction* package = nullptr;
        QAction* inspect = nullptr;
        QAction* editNote = nullptr;
        QAction* remove = nullptr;
        QAction* copy = nullptr;
    } m_actions;

    QList<CaseSummary> m_summaries;
    QList<CaseSwipe> m_swipes;
};

} // namespace card
