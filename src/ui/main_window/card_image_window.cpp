#include "ui/main_window/card_image_window.h"

#include "core/dialog/load_command.h"
#include "core/layout/main_layout.h"
#include "core/parameters/parameter_table.h"
#include "core/parameters/recent_parameter_files.h"
#include "core/photos/swipe_photos.h"
#include "core/platform/file_exists.h"
#include "core/platform/share_mounts.h"
#include "core/platform/site_folders.h"
#include "core/platform/site_io_task.h"
#include "core/platform/twips.h"
#include "core/records/day_file_words.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "core/records/record_table_model.h"
#include "core/text/time_of_day.h"
#include "ui/cases/cases_window.h"
#include "ui/common/accessible_names.h"
#include "ui/common/action_texts.h"
#include "ui/common/case_add_dialog.h"
#include "ui/common/case_texts.h"
#include "ui/common/control_table.h"
#include "ui/common/export_texts.h"
#include "ui/common/folder_mapping_texts.h"
#include "ui/common/message_box.h"
#include "ui/common/results_export.h"
#include "ui/common/window_actions.h"
#include "ui/common/window_caption.h"
#include "ui/common/window_placing.h"
#include "ui/exceptions/exceptions_texts.h"
#include "ui/exceptions/exceptions_window.h"
#include "ui/file_select/file_select_dialog.h"
#include "ui/folder_mapping/folder_mapping_dialog.h"
#include "ui/folder_mapping/folder_mapping_editor.h"
#include "ui/history/card_history_texts.h"
#include "ui/history/card_history_window.h"
#include "ui/live_view/live_view_texts.h"
#include "ui/live_view/live_view_window.h"
#include "ui/main_window/main_window_layout.h"
#include "ui/main_window/main_window_look.h"
#include "ui/main_window/main_window_texts.h"
#include "ui/main_window/record_column_model.h"
#include "ui/main_window/record_display.h"
#include "ui/main_window/record_list_view.h"
#include "ui/photo_view/photo_view_window.h"
#include "ui/presence/presence_texts.h"
#include "ui/presence/presence_window.h"
#include "ui/reports/day_list_report.h"
#include "ui/reports/report_texts.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include <cmath>

namespace card {

// What the query's existence test and read of the day file found.
struct QueryOutcome {
    bool exists = false;
    FileReadStatus status = FileReadStatus::Ok;
    std::shared_ptr<RecordTable> table; // shared, so handing it over copies no rows
};

namespace {

constexpr int kPhotoResizeDelayMs = 150;

// The filter inputs as the operator set them.
RecordCriteria queryCriteria(const MainControls& c)
{
    RecordCriteria criteria;
    criteria.cardFilterOn = c.cardFilterCheck->isChecked();
    criteria.cardText = c.cardNumberEdit->text();
    criteria.direction =
        directionChoice(c.directionOptions[0]->isChecked(), c.directionOptions[1]->isChecked(),
                        c.directionOptions[2]->isChecked());
    return criteria;
}

// Without a position of its own the window manager would place the window where it likes; the
// dialog, centred on this window, then follows it to the middle of the screen too.
void centreOnScreen(QWidget& window)
{
    QRect frame = window.frameGeometry();
    frame.moveCenter(window.screen()->availableGeometry().center());
    window.move(frame.topLeft());
}

// Outer size in twips, rounded half to even as the window's base size is stored.
qint16 toBaseTwips(int pixels)
{
    return static_cast<qint16>(std::nearbyint(pixelsToTwips(pixels)));
}

} // namespace

CardImageWindow::CardImageWindow(QWidget* parent)
    : QWidget(parent)
    , m_records(new RecordTableModel(this))
{
    setObjectName(QStringLiteral("Card_Image"));
    setCaption(this, kProductTitle);
    setWindowIcon(QIcon(QStringLiteral(":/pictures/card_image.ico")));
    resize(twipsToPixels(kMainWindowWidthTwips), twipsToPixels(kMainWindowHeightTwips));
    buildParts();
    m_display = new RecordDisplay(m_controls, m_state, this);
    setFocusOrder();
    connectParts();
    describeControlsByName(this);
}

CardImageWindow::~CardImageWindow()
{
    if (m_busyCursorShown)
        QApplication::restoreOverrideCursor();
}

void CardImageWindow::buildParts()
{
    const PlacedControls placed =
        card::createControls(mainWindowControlTable(), this, makeMainWindowControl);
    MainControls& c = m_controls;
    c.datePicker = placed.get<QDateEdit>("DTPicker1");
    c.cardFilterCheck = placed.get<QCheckBox>("Check1");
    c.cardNumberEdit = placed.get<QLineEdit>("Text2");
    c.directionGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* option = placed.get<QRadioButton>(indexed("Option1", i));
        c.directionOptions[static_cast<size_t>(i)] = option;
        c.directionGroup->addButton(option, i);
    }
    c.queryButton = placed.get<QPushButton>("Command2");
    c.clearButton = placed.get<QPushButton>("Command1");
    c.loadButton = placed.get<QPushButton>("Command3");
    for (int k = 0; k < 4; ++k) {
        auto* list = placed.get<RecordListView>(indexed("List1", k));
        auto* column = new RecordColumnModel(k, list);
        column->setSourceModel(m_records);
        list->setModel(column);
        c.resultLists[static_cast<size_t>(k)] = list;
    }
    for (int i = 0; i < 4; ++i)
        c.detailValues[static_cast<size_t>(i)] = placed.get<QLabel>(indexed("Label9", i));
    c.photoBox = placed.get<QLabel>("Image1");
    c.photoBox->setFrameStyle(QFrame::Box | QFrame::Plain);
    c.fallbackPicture = placed.get<QLabel>("Image2");
    c.fallbackPicture->hide();
    c.statusLine = placed.get<QLabel>("Label6");
    keepListsScrollingInStep();
    createTimers();
}

void CardImageWindow::keepListsScrollingInStep()
{
    // One scroll bar, on the last column, moves all four; the others would only repeat it.
    const auto& lists = m_controls.resultLists;
    for (RecordListView* list : lists) {
        if (list != lists.back())
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        for (RecordListView* other : lists) {
            if (other != list)
                connect(list->verticalScrollBar(), &QScrollBar::valueChanged,
                        other->verticalScrollBar(), &QScrollBar::setValue);
        }
    }
}

void CardImageWindow::createTimers()
{
    m_controls.playbackTimer = new QTimer(this);
    m_controls.playbackTimer->setObjectName(QStringLiteral("Timer1"));
    m_controls.playbackTimer->setInterval(kPlaybackIntervalMs);

    // While the frame is dragged the box changes size many times; decode once it rests.
    m_photoResize = new QTimer(this);
    m_photoResize->setSingleShot(true);
    m_photoResize->setInterval(kPhotoResizeDelayMs);
}

void CardImageWindow::setFocusOrder()
{
    const MainControls& c = m_controls;
    const std::array<QWidget*, 13> order = {
        c.directionOptions[0], c.directionOptions[1], c.directionOptions[2], c.clearButton,
        c.cardFilterCheck,     c.cardNumberEdit,      c.queryButton,         c.datePicker,
        c.resultLists[0],      c.loadButton,          c.resultLists[1],      c.resultLists[2],
        c.resultLists[3]};
    for (size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void CardImageWindow::connectParts()
{
    const MainControls& c = m_controls;
    connect(c.clearButton, &QPushButton::clicked, this, &CardImageWindow::clearResults);
    connect(c.queryButton, &QPushButton::clicked, this, &CardImageWindow::runQuery);
    connect(c.loadButton, &QPushButton::clicked, this, &CardImageWindow::loadParameters);
    connect(c.playbackTimer, &QTimer::timeout, this, &CardImageWindow::stepPlayback);
    connect(m_photoResize, &QTimer::timeout, m_display, &RecordDisplay::redecodeShownPhoto);
    for (int k = 0; k < 4; ++k) {
        RecordListView* list = c.resultLists[static_cast<size_t>(k)];
        connect(list, &RecordListView::mousePressed, this, [this, k] { showRecord(k); });
        connect(list, &RecordListView::keyReleased, this, [this, k] { showRecord(k); });
        connect(list, &RecordListView::enterReleased, this, &CardImageWindow::openPhotoView);
    }
    createActions();
    // The live view, the card history's own searches and the presence window follow a parameter
    // file loaded later.
    connect(this, &CardImageWindow::parametersRead, this, [this] {
        if (m_liveView)
            followSiteInLiveView();
        if (m_history)
            m_history->followSite(m_state.parameters[kRecordsFolderSlot],
                                  m_state.parameters[kPhotoFolderSlot], m_state.parameterFile);
        if (m_exceptions)
            m_exceptions->followSite(m_state.parameters[kRecordsFolderSlot],
                                     m_state.parameters[kPhotoFolderSlot], m_state.parameterFile);
        if (m_presence)
            followSiteInPresence();
    });
}

// Every tool of the window beside its buttons, each an action made here with its shortcut: the
// result lists' menu (copy the selected swipe as one line, export every listed row, jump to a
// time, the selected card's history, the live view, the people inside), the photo box's menu
// (inspection window, save the photo) and the day keys.
void CardImageWindow::createActions()
{
    const auto add = [this](const QString& text, const QKeySequence& key,
                            const std::function<void()>& what) {
        return addWindowAction(this, text, key, Qt::WindowShortcut, what);
    };
    ToolActions& a = m_actions;
    a.copy = add(action_texts::kCopy, QKeySequence::Copy, [this] {
        copyRowToClipboard(m_records->table(), m_state.queriedDay,
                           m_controls.resultLists[0]->selectedRow());
    });
    // Ctrl+C copies a row only where a list has the focus; elsewhere it stays the field's own.
    a.copy->setShortcutContext(Qt::WidgetShortcut);
    a.exportRows = add(action_texts::kExportList, {}, [this] {
        exportListedRows(this, m_records->table(), m_state.queriedDay,
                         selectedSwipe().protectedPlaces());
    });
    a.printList =
        add(report_texts::kPrintListAction, {}, [this] { printReport(this, dayListJob()); });
    a.listPdf =
        add(report_texts::kExportPdfAction, {}, [this] { exportReportPdf(this, dayListJob()); });
    a.jumpToTime =
        add(kJumpToTimeAction, QKeySequence(Qt::CTRL | Qt::Key_G), [this] { jumpToTime(); });
    a.cardHistory = add(history_texts::kOpenAction, QKeySequence(Qt::CTRL | Qt::Key_H), [this] {
        if (hasSelectedRow())
            openCardHistory(selectedSwipe());
    });
    a.cardHistory->setShortcutContext(Qt::WidgetShortcut);
    a.addToCase = add(case_texts::kAddAction, QKeySequence(Qt::CTRL | Qt::Key_B), [this] {
        if (hasSelectedRow())
            addSwipeToCase(this, selectedSwipe());
    });
    a.addToCase->setShortcutContext(Qt::WidgetShortcut);
    a.cases =
        add(case_texts::kOpenAction, QKeySequence(Qt::CTRL | Qt::Key_K), [this] { openCases(); });
    a.inspect = add(kPhotoViewAction, {}, [this] { openPhotoView(); });
    a.savePhoto = add(export_texts::kSavePhotoAction, {}, [this] {
        saveShownPhoto(this, m_state.shownPhoto, selectedSwipe().protectedPlaces());
    });
    a.dayBack = add({}, QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { stepDay(-1); });
    a.dayForward = add({}, QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { stepDay(1); });
    a.liveView = add(live_view_texts::kOpenAction, QKeySequence(Qt::CTRL | Qt::Key_L),
                     [this] { openLiveView(); });
    a.folderMappings = add(mapping_texts::kEditorAction, {}, [this] {
        FolderMappingEditor editor(this, m_state.parameters[kRecordsFolderSlot],
                                   m_state.parameters[kPhotoFolderSlot]);
        editor.exec();
    });
    a.exceptions = add(exceptions_texts::kOpenAction, QKeySequence(Qt::CTRL | Qt::Key_E),
                       [this] { openExceptions(); });
    a.presence = add(presence_texts::kOpenAction, QKeySequence(Qt::CTRL | Qt::Key_I),
                     [this] { openPresence(); });
    a.recentFiles = new QMenu(kRecentFilesMenu, this);
    a.recentFiles->setObjectName(QStringLiteral("recent_parameter_files"));
    a.recentFiles->setAccessibleName(kRecentFilesMenu);
    listRecentFiles();

    for (RecordListView* list : m_controls.resultLists) {
        list->addActions({a.copy, a.exportRows, a.printList, a.listPdf, a.jumpToTime, a.cardHistory,
                          a.liveView, a.exceptions, a.presence, a.folderMappings,
                          a.recentFiles->menuAction(), a.addToCase, a.cases});
        list->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    QLabel* box = m_controls.photoBox;
    box->addActions({a.inspect, a.savePhoto});
    box->setContextMenuPolicy(Qt::ActionsContextMenu);
    box->installEventFilter(this);
    connect(m_records, &QAbstractItemModel::modelReset, this, [this] { enableActions(); });
    connect(m_records, &QAbstractItemModel::rowsInserted, this, [this] { enableActions(); });
    connect(m_records, &QAbstractItemModel::rowsRemoved, this, [this] { enableActions(); });
    enableActions();
}

// The listed day as its rows were listed, read on another thread from a copy of the table.
ReportJob CardImageWindow::dayListJob() const
{
    const DayListRequest request{std::make_shared<const RecordTable>(m_records->table().copy()),
                                 m_state.queriedDay, m_state.queriedCriteria,
                                 m_state.queriedParameterFile, m_state.queriedRecordsFolder};
    return {dayListPdfName(m_state.queriedDay), selectedSwipe().protectedPlaces(), [request] {
                return dayListReport(request);
            }};
}

// A menu entry that cannot act is disabled: copy and export on empty lists, saving the photo
// while the photo box shows none.
void CardImageWindow::enableActions()
{
    const bool listed = m_records->rowCount() > 0;
    m_actions.copy->setEnabled(listed);
    m_actions.exportRows->setEnabled(listed);
    m_actions.printList->setEnabled(listed);
    m_actions.listPdf->setEnabled(listed);
    m_actions.cardHistory->setEnabled(listed);
    m_actions.addToCase->setEnabled(listed);
    m_actions.savePhoto->setEnabled(!m_state.shownPhoto.isEmpty());
}

// Selects and shows the first listed swipe at or after the time asked for, as a press on it.
// The parameter files loaded last, each loaded again as if chosen in the dialog.
void CardImageWindow::listRecentFiles()
{
    QMenu* menu = m_actions.recentFiles;
    menu->clear();
    for (const QString& file : recentParameterFiles()) {
        connect(menu->addAction(QDir::toNativeSeparators(file)), &QAction::triggered, this,
                [this, file] { loadParameterFile(file); });
    }
    menu->menuAction()->setEnabled(!menu->isEmpty());
}

void CardImageWindow::jumpToTime()
{
    const QString typed = askText(this, kJumpToTimePrompt, kJumpToTimeTitle).trimmed();
    if (typed.isEmpty())
        return;
    const QString digits = timeOfDayDigits(typed);
    if (digits.isEmpty()) {
        showMessage(this, kJumpToTimeInvalid.arg(typed));
        return;
    }
    const RecordTable& table = m_records->table();
    const qsizetype row = firstTimeAtOrAfter(
        table.rowCount(), [&table](qsizetype r) { return table.text(r, 0); }, digits);
    if (row < 0) {
        showMessage(this, kJumpToTimeNone.arg(typed));
        return;
    }
    RecordListView* list = m_controls.resultLists[0];
    list->setSelectedRow(static_cast<int>(row));
    list->setFocus();
    showRecord(0);
}

void CardImageWindow::followSiteInLiveView()
{
    m_liveView->follow(m_state.parameters[kRecordsFolderSlot], m_state.parameters[kPhotoFolderSlot],
                       m_state.parameterFile);
}

void CardImageWindow::openLiveView()
{
    if (!m_liveView) {
        m_liveView = new LiveViewWindow(this);
        placeBesideWindow(*m_liveView, *this);
        connect(m_liveView, &LiveViewWindow::inspectRequested, this,
                &CardImageWindow::openPhotoViewOn);
        connect(m_liveView, &LiveViewWindow::mainWindowRequested, this,
                &CardImageWindow::showInMainWindow);
        followSiteInLiveView();
    }
    bringToFront(*m_liveView);
}

void CardImageWindow::openExceptions(int days)
{
    const bool first = !m_exceptions;
    if (first) {
        m_exceptions = new ExceptionsWindow(this);
        placeBesideWindow(*m_exceptions, *this);
        connect(m_exceptions, &ExceptionsWindow::swipeChosen, this,
                &CardImageWindow::openPhotoViewOn);
        connect(m_exceptions, &ExceptionsWindow::mainWindowRequested, this,
                &CardImageWindow::showInMainWindow);
        ExceptionQuery query;
        query.end = m_controls.datePicker->date();
        query.dayCount = days;
        query.recordsFolder = m_state.parameters[kRecordsFolderSlot];
        query.photoFolder = m_state.parameters[kPhotoFolderSlot];
        query.parameterFile = m_state.parameterFile;
        m_exceptions->search(query);
    }
    bringToFront(*m_exceptions);
}

void CardImageWindow::followSiteInPresence()
{
    m_presence->follow({m_state.parameters[kRecordsFolderSlot],
                        m_state.parameters[kPhotoFolderSlot], m_state.parameterFile});
}

void CardImageWindow::openPresence()
{
    if (!m_presence) {
        m_presence = new PresenceWindow(this);
        placeBesideWindow(*m_presence, *this);
        connect(m_presence, &PresenceWindow::inspectRequested, this,
                &CardImageWindow::openPhotoViewOn);
        followSiteInPresence();
    }
    bringToFront(*m_presence);
}

void CardImageWindow::openCases()
{
    if (!m_cases) {
        m_cases = new CasesWindow(this);
        placeBesideWindow(*m_cases, *this);
        connect(m_cases, &CasesWindow::inspectRequested, this, &CardImageWindow::openPhotoViewOn);
    }
    m_cases->refresh();
    bringToFront(*m_cases);
}

void CardImageWindow::stepDay(int days)
{
    m_controls.datePicker->setDate(m_controls.datePicker->date().addDays(days));
    runQuery();
}

void CardImageWindow::showInMainWindow(const Swipe& swipe)
{
    const MainControls& c = m_controls;
    c.datePicker->setDate(swipe.day);
    c.cardFilterCheck->setChecked(!swipe.card.isEmpty());
    c.cardNumberEdit->setText(swipe.card);
    c.directionOptions[2]->setChecked(true);
    runQuery();
    m_selectAfterQuery = swipe;
    bringToFront(*this);
}

void CardImageWindow::selectListed(const Swipe& swipe)
{
    const RecordTable& table = m_records->table();
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        if (swipe.time.isEmpty() ||
            (table.text(row, TimeField) == swipe.time && table.text(row, CardField) == swipe.card &&
             table.text(row, DirectionField) == swipe.direction)) {
            RecordListView* list = m_controls.resultLists[0];
            list->setSelectedRow(static_cast<int>(row));
            list->setFocus();
            showRecord(0);
            return;
        }
    }
}

bool CardImageWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_controls.photoBox && event->type() == QEvent::MouseButtonDblClick) {
        openPhotoView();
        return true;
    }
    // The shown photo changes without a signal: its menu is brought up to date as it opens.
    if (watched == m_controls.photoBox && event->type() == QEvent::ContextMenu)
        enableActions();
    return QWidget::eventFilter(watched, event);
}

bool CardImageWindow::hasSelectedRow() const
{
    return m_controls.resultLists[0]->selectedRow() >= 0;
}

// The selected swipe as the lists show it, with the day and folders it belongs to.
Swipe CardImageWindow::selectedSwipe() const
{
    const auto& lists = m_controls.resultLists;
    return {lists[0]->selectedText(),
            lists[1]->selectedText(),
            lists[2]->selectedText(),
            lists[3]->selectedText(),
            m_state.queriedDay,
            m_state.parameters[kRecordsFolderSlot],
            m_state.parameters[kPhotoFolderSlot],
            m_state.parameterFile};
}

void CardImageWindow::openPhotoView()
{
    if (hasSelectedRow())
        openPhotoViewOn(selectedSwipe());
}

void CardImageWindow::openPhotoViewOn(const Swipe& swipe)
{
    if (!m_photoView) {
        m_photoView = new PhotoViewWindow(this);
        placeBesideWindow(*m_photoView, *this, smallestUsefulSize(*m_photoView));
        connect(m_photoView, &PhotoViewWindow::cardHistoryRequested, this,
                [this](const Swipe& shown) { openCardHistory(shown); });
    }
    m_photoView->showSwipe(swipe);
    bringToFront(*m_photoView);
}

void CardImageWindow::openCardHistory(const Swipe& swipe, int days)
{
    if (!m_history) {
        m_history = new CardHistoryWindow(this);
        placeBesideWindow(*m_history, *this);
        connect(m_history, &CardHistoryWindow::swipeChosen, this,
                &CardImageWindow::openPhotoViewOn);
        connect(m_history, &CardHistoryWindow::mainWindowRequested, this,
                &CardImageWindow::showInMainWindow);
    }
    m_history->search({HistoryField::Card, swipe.card, swipe.day, days, swipe.recordsFolder,
                       swipe.photoFolder, swipe.parameterFile});
    bringToFront(*m_history);
}

// While the inspection window is open it shows each record the main window shows.
void CardImageWindow::followInPhotoView(const Swipe& swipe)
{
    if (m_photoView && m_photoView->isVisible())
        m_photoView->showSwipe(swipe);
}

void CardImageWindow::runStartup(const StartupOptions& options)
{
    m_controls.datePicker->setDate(QDate::currentDate());
    m_controls.directionOptions[2]->setChecked(true);
    // Creating the native window lets platforms that know their frame include it already.
    winId();
    m_state.baseHeight = toBaseTwips(frameGeometry().height());
    m_state.baseWidth = toBaseTwips(frameGeometry().width());
    m_baseHasFrame = frameGeometry().size() != size();
    m_controls.statusLine->raise();
    m_controls.directionOptions[2]->setFocus();
    centreOnScreen(*this);
    if (options.live)
        connect(this, &CardImageWindow::parametersRead, this, &CardImageWindow::openLiveView,
                Qt::SingleShotConnection);
    if (options.parameterFile.isEmpty()) {
        loadParameters();
        return;
    }
    if (options.queries()) {
        connect(
            this, &CardImageWindow::parametersRead, this,
            [this, options](bool whole) {
                if (whole)
                    runStartupQuery(options);
            },
            Qt::SingleShotConnection);
    }
    loadParameterFile(options.parameterFile);
}

// The query the command line asked for, once its parameter file has been read whole.
void CardImageWindow::runStartupQuery(const StartupOptions& options)
{
    if (options.exceptions) {
        if (options.date)
            m_controls.datePicker->setDate(*options.date);
        openExceptions(options.days.value_or(1));
        return;
    }
    if (options.history) {
        openCardHistory({{},
                         *options.card,
                         {},
                         {},
                         options.date.value_or(QDate::currentDate()),
                         m_state.parameters[kRecordsFolderSlot],
                         m_state.parameters[kPhotoFolderSlot],
                         m_state.parameterFile},
                        options.days.value_or(kDefaultHistoryDays));
        return;
    }
    if (options.date)
        m_controls.datePicker->setDate(*options.date);
    if (options.card) {
        m_controls.cardFilterCheck->setChecked(true);
        m_controls.cardNumberEdit->setText(*options.card);
    }
    if (options.direction) {
        const int option = *options.direction == DirectionChoice::In    ? 0
                           : *options.direction == DirectionChoice::Out ? 1
                                                                        : 2;
        m_controls.directionOptions[static_cast<size_t>(option)]->setChecked(true);
    }
    runQuery();
}

void CardImageWindow::clearResults()
{
    // The four lists show one model: emptying it empties all four in one step. A query still on
    // its way is dropped; a press's photo still lands.
    m_records->clear();
    m_query.drop();
    m_queryAfterLoad = false;
    showBusyCursor();
}

void CardImageWindow::runQuery()
{
    m_selectAfterQuery.reset();
    clearResults();
    m_controls.statusLine->setText(QString());
    const QDate date = m_controls.datePicker->date();
    m_state.currentRecord.day = dayDigits(date);
    m_state.queriedDay = date;
    m_state.queriedCriteria = queryCriteria(m_controls);
    m_state.queriedParameterFile = m_state.parameterFile;
    m_state.queriedRecordsFolder = m_state.parameters[kRecordsFolderSlot];
    if (m_loads.pending())
        m_queryAfterLoad = true;
    else
        readDayFile();
}

void CardImageWindow::readDayFile()
{
    const QString& folder = m_state.parameters[kRecordsFolderSlot];
    const QString path = recordFilePath(folder, m_state.queriedDay);
    const QString named = siteFileText(folder, recordFileName(m_state.queriedDay));
    auto read = [path, criteria = m_state.queriedCriteria] {
        QueryOutcome outcome;
        outcome.exists = fileExists(path);
        if (outcome.exists) {
            outcome.table = std::make_shared<RecordTable>();
            outcome.status = readRecordFile(path, criteria, *outcome.table);
        }
        return outcome;
    };
    const LatestRequest::Ticket query = m_query.start();
    showBusyCursor();
    runOnSiteIo(this, std::move(read), [this, query, named](const QueryOutcome& outcome) {
        if (m_query.finish(query))
            showQueryOutcome(named, outcome);
    });
}

void CardImageWindow::showQueryOutcome(const QString& dayFile, const QueryOutcome& outcome)
{
    showBusyCursor();
    const std::optional<Swipe> wanted = std::exchange(m_selectAfterQuery, std::nullopt);
    if (!outcome.exists) {
        m_controls.statusLine->setText(day_file_words::kMissing);
    } else {
        m_records->setTable(std::move(*outcome.table));
        if (wanted)
            selectListed(*wanted);
        if (outcome.status != FileReadStatus::Ok)
            showMessage(this, day_file_words::kUnreadable + u'\n' + dayFile);
    }
}

void CardImageWindow::loadParameters()
{
    requestParameterFile(m_fileSelect);
    FileSelectDialog::showModal(m_fileSelect, this);
    const QString path = chosenParameterFile(m_fileSelect);
    if (!path.isEmpty())
        loadParameterFile(path);
}

void CardImageWindow::loadParameterFile(const QString& path)
{
    // The caption names the file before it is read, so a bad file is named too.
    setCaption(this, loadedCaption(path));
    m_state.parameterFile = path;
    const ParameterLoads::Ticket load = m_loads.start();
    m_display->holdLookups();
    showBusyCursor();
    runOnSiteIo(
        this,
        [path] {
            // Shares mounted since the last load stand for their Windows folders too.
            useMountedShares();
            return readParameters(path);
        },
        [this, load](const ParameterRead& read) {
            if (const auto loaded = m_loads.finish(load, read, m_state.parameters))
                takeParameters(*loaded);
        });
}

void CardImageWindow::takeParameters(const ParameterLoads::Settled& loaded)
{
    showBusyCursor();
    m_state.parameters = loaded.table;
    if (loaded.whole) {
        rememberParameterFile(m_state.parameterFile);
        listRecentFiles();
    } else {
        showMessage(this, kBadParameterFileMessage);
        setCaption(this, badFileCaption(caption(this)));
    }
    // Asked before a waiting query or press reads the site, so they read it where answered.
    FolderMappingDialog::askForUnmapped(
        this,
        unmappedWindowsFolders({loaded.table[kRecordsFolderSlot], loaded.table[kPhotoFolderSlot]}));
    m_display->resumeLookups();
    if (std::optional<Swipe> pressed = std::exchange(m_followAfterLoad, std::nullopt)) {
        pressed->recordsFolder = m_state.parameters[kRecordsFolderSlot];
        pressed->photoFolder = m_state.parameters[kPhotoFolderSlot];
        followInPhotoView(*pressed);
    }
    if (std::exchange(m_queryAfterLoad, false))
        readDayFile();
    emit parametersRead(loaded.whole);
}

bool CardImageWindow::isWorking() const
{
    return m_query.pending() || m_loads.pending() || m_display->busy();
}

// The busy cursor shows while a query or a load runs.
void CardImageWindow::showBusyCursor()
{
    const bool busy = m_query.pending() || m_loads.pending();
    if (busy == m_busyCursorShown)
        return;
    m_busyCursorShown = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void CardImageWindow::showRecord(int listIndex)
{
    m_display->showRecord(listIndex);
    const std::optional<Swipe> pressed =
        hasSelectedRow() ? std::optional(selectedSwipe()) : std::nullopt;
    if (m_loads.pending())
        m_followAfterLoad = pressed;
    else if (pressed)
        followInPhotoView(*pressed);
}

void CardImageWindow::stepPlayback()
{
    m_display->stepPlayback();
}

void CardImageWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    followWindowSize();
}

void CardImageWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // On X11 the frame becomes known only after the pass of the first showing; the window's
    // first activation lays it out again, frame included.
    if (event->type() == QEvent::ActivationChange && !m_baseHasFrame && isVisible())
        followWindowSize();
    // A restore from minimized raises no resize when the size stayed; a size that changed while
    // minimized is laid out now.
    if (event->type() == QEvent::WindowStateChange &&
        static_cast<QWindowStateChangeEvent*>(event)->oldState().testFlag(Qt::WindowMinimized) &&
        !isMinimized())
        followWindowSize();
}

// One layout pass for the window's size at this moment. Restoring the size raises another
// resize event, whose pass then lays out for the restored size.
void CardImageWindow::followWindowSize()
{
    countLateFrameInBaseSize();
    const MainControls& c = m_controls;
    const QSize photoBoxBefore = c.photoBox->size();
    const QSize outer = frameGeometry().size();
    MainLayoutInput input;
    input.state = isMinimized()   ? WindowShowState::Minimized
                  : isMaximized() ? WindowShowState::Maximized
                                  : WindowShowState::Normal;
    input.width = pixelsToTwips(outer.width());
    input.height = pixelsToTwips(outer.height());
    input.baseWidth = m_state.baseWidth;
    input.baseHeight = m_state.baseHeight;
    input.listTop = pixelsToTwips(c.resultLists[0]->y());
    input.imageTop = pixelsToTwips(c.photoBox->y());
    input.imageLeft = pixelsToTwips(c.photoBox->x());
    const MainLayout layout = computeMainLayout(input);

    switch (layout.height.kind) {
    case HeightAction::Kind::None:
        break;
    case HeightAction::Kind::RestoreWindowHeight:
        resize(width(), height() + twipsToPixels(m_state.baseHeight) - outer.height());
        break;
    case HeightAction::Kind::SetHeights:
        for (RecordListView* list : c.resultLists)
            list->resize(list->width(), twipsToPixels(layout.height.listHeight));
        c.photoBox->resize(c.photoBox->width(), twipsToPixels(layout.height.imageHeight));
        break;
    }
    // The width action reads the window as it is now: a nested pass may have changed it.
    switch (layout.width.kind) {
    case WidthAction::Kind::None:
        break;
    case WidthAction::Kind::RestoreWindowWidth:
        resize(width() + twipsToPixels(m_state.baseWidth) - frameGeometry().width(), height());
        break;
    case WidthAction::Kind::SetImageWidth:
        c.photoBox->resize(twipsToPixels(layout.width.imageWidth), c.photoBox->height());
        break;
    }
    if (c.photoBox->size() != photoBoxBefore)
        m_photoResize->start();
}

// The base size is the outer size at creation. Where the window manager frames the window only
// once it is shown (X11), the first reading lacks the frame: it is added once, as soon as a pass
// sees it, so that the window springs back to the size it opened with.
void CardImageWindow::countLateFrameInBaseSize()
{
    const QSize frame = frameGeometry().size() - size();
    if (m_baseHasFrame || frame.isNull())
        return;
    m_state.baseWidth = static_cast<qint16>(m_state.baseWidth + toBaseTwips(frame.width()));
    m_state.baseHeight = static_cast<qint16>(m_state.baseHeight + toBaseTwips(frame.height()));
    m_baseHasFrame = true;
}

} // namespace card
