// The exceptions window: the swipes of a range of days that do not fit, each rule ticked on
// or off with its count, and the photos of the selected hit beside those of the swipe it is
// judged against, and the card's reference photo.
//
// The main window creates it once, with itself as parent, and calls search() from the lists'
// menu or the command line. The day files are read off the interface thread; hits appear as
// the days are read. It writes nothing but through the save dialog.
//
// Keys: Esc stops a running search, keeping what was found, and otherwise closes the window;
// Ctrl+C copies the selected hit; Ctrl+P prints; Enter or a double-click on a hit shows its
// swipe in the inspection window.
#pragma once

#include "core/records/exception_rules.h"
#include "ui/reports/report_actions.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QListView;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace card {

class ExceptionRowsFilter;
class ExceptionRowsModel;
class ExceptionsReader;
class ReferencePhotoView;
class ThumbnailListModel;
class ThumbnailLoader;

class ExceptionsWindow : public QWidget {
    Q_OBJECT
public:
    explicit ExceptionsWindow(QWidget* parent);

    // Puts query into the asking controls and searches it; its folders and settings stay for
    // later searches.
    void search(const ExceptionQuery& query);
    // Takes a newly loaded site's folders for the next search.
    void followSite(const QString& recordsFolder, const QString& photoFolder,
                    const QString& parameterFile);
    void startSearch();
    void stopSearch();

    // The range lengths the window offers, in days.
    static const QList<int>& rangeChoices();

signals:
    // Enter or a double-click on a hit.
    void swipeChosen(const Swipe& swipe);
    // 在主視窗顯示 on a hit's swipe.
    void mainWindowRequested(const Swipe& swipe);

protected:
private:
    void buildParts();
    void layOutParts();
    void createActions();
    void connectParts();
    ExceptionQuery askedQuery() const;
    void run(const ExceptionQuery& query);
    void hitsFound(const QList<ExceptionHit>& hits);
    void showRuleCounts();
    void ruleTicked(int rule, bool shown);
    void showPhotos(const QModelIndex& current);
    void editSettings();
    int selectedHit() const;
    ReportJob reportJob() const;
    QStringList protectedPlaces() const;

    QDateEdit* m_end;
    QComboBox* m_range;
    QPushButton* m_query;
    QPushButton* m_stop;
    QPushButton* m_settings;
    QProgressBar* m_progress;
    QListView* m_rules;
    QTableView* m_rows;
    QListView* m_photos;
    ReferencePhotoView* m_reference;
    QStandardItemModel* m_rulesModel;
    ExceptionRowsModel* m_rowsModel;
    ExceptionRowsFilter* m_rowsFilter;
    ThumbnailListModel* m_photosModel;
    ThumbnailLoader* m_thumbnails;
    ExceptionsReader* m_reader;

    ExceptionQuery m_site;  // the latest query given, for its folders, files and settings
    ExceptionQuery m_shown; // the query whose hits are shown, for their report
};

} // namespace card
