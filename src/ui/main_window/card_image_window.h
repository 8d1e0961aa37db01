// Card_Image: the product's one top-level window.
#pragma once

#include "core/dialog/file_select_exchange.h"
#include "core/parameters/parameter_loads.h"
#include "core/platform/latest_request.h"
#include "core/records/card_history.h"
#include "core/records/swipe.h"
#include "core/startup/command_line.h"
#include "ui/main_window/main_controls.h"
#include "ui/main_window/main_window_state.h"
#include "ui/reports/report_actions.h"

#include <QWidget>

#include <optional>

class QAction;
class QMenu;
class QTimer;

namespace card {

class CardHistoryWindow;
class ExceptionsWindow;
class CasesWindow;
class LiveViewWindow;
class PresenceWindow;
class PhotoViewWindow;
class RecordDisplay;
class RecordTableModel;
struct QueryOutcome;

class CardImageWindow : public QWidget {
    Q_OBJECT
public:
    explicit CardImageWindow(QWidget* parent = nullptr);
    ~CardImageWindow() override;

    // Runs once, before the window is first shown: today's date, "全選", the base size, the
    // status line to the front, and the parameter load command. With a parameter file from the
    // command line that file is loaded instead of opening the dialog, and when it was read whole
    // and --date, --card or --direction was given, the controls are set to them and the query
    // runs once.
    void runStartup(const StartupOptions& options = {});

    const MainControls& controls() const { return m_controls; }
    MainWindowState& state() { return m_state; }
    RecordTableModel& records() { return *m_records; }
    const FileSelectExchange& fileSelectExchange() const { return m_fileSelect; }

    // The commands of the window, one per button, and the list and timer reactions. The query,
    // the parameter file's read and the photos run off the interface thread: what they show
    // arrives later, and the newest request wins.
    void clearResults();
    void runQuery();
    void loadParameters();
    void showRecord(int listIndex);
    void stepPlayback();

    // The load command's part after the dialog: names the file in the caption and reads it;
    // a malformed file is reported with a message box and the caption's suffix.
    void loadParameterFile(const QString& path);

    // True while a query, a load or a photo is on its way.
    bool isWorking() const;

    // The inspection window on the selected swipe; nothing without a selected row.
    void openPhotoView();
    void openPhotoViewOn(const Swipe& swipe);
    // The card history window over days up to swipe's day.
    void openCardHistory(const Swipe& swipe, int days = kDefaultHistoryDays);
    // The live view of today's swipes in the loaded site's folders.
    void openLiveView();
    // The exceptions window over days up to the picked day, in the loaded site's folders.
    void openExceptions(int days = 1);
    // The people inside now in the loaded site.
    void openPresence();
    // The cases window.
    void openCases();
    // Moves the date picker days forward (or back) and runs the query.
    void stepDay(int days);
    // Finds swipe here as the operator would: its day in the date picker, its card in the card
    // filter (off for a day without a card), every direction, the query run; then its row (the
    // card's first, for a swipe without a time) selected and shown as a press would.
    void showInMainWindow(const Swipe& swipe);

signals:
    // The load command has read a parameter file; whole is false for a malformed one.
    void parametersRead(bool whole);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildParts();
    void createTimers();
    void setFocusOrder();
    void connectParts();
    void keepListsScrollingInStep();
    void createActions();
    ReportJob dayListJob() const;
    void enableActions();
    void listRecentFiles();
    void jumpToTime();
    void followSiteInLiveView();
    void followSiteInPresence();
    bool hasSelectedRow() const;
    Swipe selectedSwipe() const;
    void followInPhotoView(const Swipe& swipe);
    void selectListed(const Swipe& swipe);
    void followWindowSize();
    void countLateFrameInBaseSize();

    void runStartupQuery(const StartupOptions& options);
    void readDayFile();
    void takeParameters(const ParameterLoads::Settled& loaded);
    // dayFile names the day file for messages, as written and where it was read.
    void showQueryOutcome(const QString& dayFile, const QueryOutcome& outcome);
    void showBusyCursor();

    MainControls m_controls;
    MainWindowState m_state;
    // What the parameter file dialog was asked and answered; its path outlives each opening.
    FileSelectExchange m_fileSelect;
    RecordTableModel* m_records = nullptr;
    RecordDisplay* m_display = nullptr;
    // The window's tools beside its buttons, made in createActions.
    struct ToolActions {
        QAction* copy = nullptr;
        QAction* exportRows = nullptr;
        QAction* printList = nullptr;
        QAction* listPdf = nullptr;
        QAction* jumpToTime = nullptr;
        QAction* cardHistory = nullptr;
        QAction* addToCase = nullptr;
        QAction* cases = nullptr;
        QAction* inspect = nullptr;
        QAction* savePhoto = nullptr;
        QAction* dayBack = nullptr;
        QAction* dayForward = nullptr;
        QAction* liveView = nullptr;
        QAction* folderMappings = nullptr;
        QAction* exceptions = nullptr;
        QAction* presence = nullptr;
        QMenu* recentFiles = nullptr; // 最近的參數檔
    } m_actions;
    PhotoViewWindow* m_photoView = nullptr;   // made at its first opening
    CardHistoryWindow* m_history = nullptr;   // made at its first opening
    LiveViewWindow* m_liveView = nullptr;     // made at its first opening
    ExceptionsWindow* m_exceptions = nullptr; // made at its first opening
    PresenceWindow* m_presence = nullptr;     // made at its first opening
    CasesWindow* m_cases = nullptr;           // made at its first opening
    LatestRequest m_query;
    ParameterLoads m_loads;
    // A query made while a parameter load is on its way reads the records folder of the site
    // being loaded, and the inspection window follows a press with that site's folders: they
    // run when it has been read.
    bool m_queryAfterLoad = false;
    std::optional<Swipe> m_followAfterLoad;
    // The swipe showInMainWindow selects once its query has listed the day.
    std::optional<Swipe> m_selectAfterQuery;
    bool m_busyCursorShown = false;
    // Whether baseWidth and baseHeight include the window manager's frame.
    bool m_baseHasFrame = false;
    // Decodes the shown photo again once the photo box has stopped changing size.
    QTimer* m_photoResize = nullptr;
};

} // namespace card
