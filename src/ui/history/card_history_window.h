// The card history window: a card's swipes over weeks, found by its number or by part of its
// holder's name.
//
// The main window creates it once, with itself as parent (a top-level window owned by the main
// window and closed with it), and calls search() from a result list, the inspection window or
// the command line. The day files are read off the interface thread, the newest day first,
// several at once; each day appears as soon as it is read. It writes nothing but through the
// save dialog.
//
// Keys: Enter in the search box starts a search (so does the query button), and so does a
// change of the range or the end day once a search is shown; Esc stops a running search,
// keeping what was found, and otherwise closes the window; Home and End go to the newest and
// the oldest day; Ctrl+C copies the selected day or swipe; Enter or a double-click on a swipe
// shows it in the inspection window; Ctrl+click on a swipe compares it side by side with the
// swipe chosen before, of the same day or another. A tick marks the swipe whose photo is the
// card's reference. Closing or hiding the window stops its reading and its pictures.
#pragma once

#include "core/records/card_history.h"
#include "ui/reports/report_actions.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;

namespace card {

class HistoryDaysModel;
class HistoryHeatLegend;
class HistoryHeatMap;
class HistoryReader;
class SwipeCompareWindow;
class ThumbnailListModel;
class ThumbnailLoader;

class CardHistoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit CardHistoryWindow(QWidget* parent);

    // Puts query into the asking controls and searches it; its folders stay for later searches.
    void search(const HistoryQuery& query);
    // Searches what the asking controls say; a running search is dropped.
    void startSearch();
    void stopSearch();
    // The site the window's own searches read from now on (the shown days stay as they are).
    void followSite(const QString& recordsFolder, const QString& photoFolder,
                    const QString& parameterFile);

    // The range lengths the window offers, in days.
    static const QList<int>& rangeChoices();

signals:
    // Enter or a double-click on a swipe of the selected day.
    void swipeChosen(const Swipe& swipe);
    // 在主視窗顯示 on a swipe, or on a day (a swipe without a time, of the day's card).
    void mainWindowRequested(const Swipe& swipe);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildParts();
    void layOutParts();
    void addTakeOutActions();
    void addMainWindowActions();
    void addReportActions();
    void addPackageAction();
    void packageSelectedDay();
    void showSwipeLabels();
    ReportJob reportJob() const;
    void connectParts();
    HistoryQuery askedQuery() const;
    void run(const HistoryQuery& query);
    static QString rangeText(const HistoryQuery& query);
    void showTitle(const HistoryQuery& query);
    void showNote(const QString& note);
    void showSite();
    void daysRead(const QList<HistoryDay>& entries);
    void readingEnded(bool allRead);
    void showDay(int row);
    void loadThumbnailsInView();
    void heatCellClicked(int row, int hour);
    void chooseSwipe(int row);
    int referenceRow(const QString& site) const;
    bool compareWithChosen(const QPoint& at);
    int selectedDayRow() const;
    QStringList protectedPlaces() const;

    QComboBox* m_field;
    QLineEdit* m_search;
    QDateEdit* m_end;
    QComboBox* m_range;
    QPushButton* m_query;
    QPushButton* m_stop;
    QProgressBar* m_progress;
    QLabel* m_siteLabel;
    QLabel* m_note; // what the operator should know of the shown search, hidden when nothing
    QTableView* m_days;
    HistoryHeatMap* m_heat;
    HistoryHeatLegend* m_legend;
    QListView* m_swipes;
    HistoryDaysModel* m_daysModel;
    ThumbnailListModel* m_swipesModel;
    ThumbnailLoader* m_thumbnails;
    HistoryReader* m_reader;
    QTimer* m_rangeSettle;
    SwipeCompareWindow* m_compare = nullptr; // made when first asked for

    HistoryQuery m_site;                // the latest query given, for its site's folders and files
    HistoryQuery m_shown;               // the query whose days are shown, for their report
    QAction* m_withPictures = nullptr;  // 含影像: the report shows each swipe's small picture
    QList<Swipe> m_shownSwipes;         // of the selected day
    QList<int> m_thumbnailRows;         // the strip's row of each picture loading
    std::optional<Swipe> m_chosenSwipe; // the strip's latest current swipe, kept across days
    QString m_searched;                 // the text of the latest search, for file names
};

} // namespace card
