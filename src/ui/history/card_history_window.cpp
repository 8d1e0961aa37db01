#include "ui/history/card_history_window.h"

#include "core/platform/site_io_pool.h"
#include "core/records/record_export.h"
#include "core/text/day_text.h"
#include "ui/common/accessible_names.h"
#include "ui/common/action_texts.h"
#include "ui/common/case_add_dialog.h"
#include "ui/common/case_desk.h"
#include "ui/common/reference_photo_view.h"
#include "ui/common/results_export.h"
#include "ui/common/swipe_pictures/swipe_compare_window.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/common/swipe_pictures/thumbnail_list_model.h"
#include "ui/common/swipe_pictures/thumbnail_loader.h"
#include "ui/common/view_parts.h"
#include "ui/common/window_actions.h"
#include "ui/common/window_placing.h"
#include "ui/history/card_history_texts.h"
#include "ui/history/history_days_model.h"
#include "ui/history/history_heat_legend.h"
#include "ui/history/history_heat_map.h"
#include "ui/history/history_reader.h"
#include "ui/reports/evidence_actions.h"
#include "ui/reports/history_report.h"
#include "ui/reports/report_texts.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSplitter>
#include <QTableView>
#include <QTimer>

namespace card {

namespace {

namespace texts = history_texts;

const QSize kThumbnail(128, 96);
// A changed range is searched once the end date has stopped changing: typing a date changes it
// digit by digit.
constexpr int kRangeSettleMs = 400;

// A copy action (Ctrl+C in the view) and an export action in view's context menu.
void addCopyAndExport(QWidget* view, const std::function<void()>& copy,
                      const std::function<void()>& exportAll)
{
    addWindowAction(view, action_texts::kCopy, QKeySequence::Copy, Qt::WidgetShortcut, copy);
    addWindowAction(view, action_texts::kExportList, QKeySequence(), Qt::WidgetShortcut, exportAll);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
}

} // namespace

const QList<int>& CardHistoryWindow::rangeChoices()
{
    static const QList<int> choices{7, 30, 90, 365};
    return choices;
}

CardHistoryWindow::CardHistoryWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("card_history"));
    setWindowTitle(texts::kTitlePrefix);
    buildParts();
    layOutParts();
    addTakeOutActions();
    addMainWindowActions();
    addReportActions();
    addPackageAction();
    connectParts();
    describeControlsByName(this);
    resizeWithinScreen(*this, QSize(1200, 800));
}

void CardHistoryWindow::buildParts()
{
    m_field = new QComboBox(this);
    m_field->setObjectName(QStringLiteral("card_history_field"));
    m_field->addItems({texts::kCardField, texts::kNameField});
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("card_history_search"));
    m_end = newDayEdit(this, QStringLiteral("card_history_end"));
    m_range = newRangeChoice(this, QStringLiteral("card_history_range"), rangeChoices(),
                             kDefaultHistoryDays);
    m_query = new QPushButton(texts::kQuery, this);
    m_query->setObjectName(QStringLiteral("card_history_query"));
    m_stop = new QPushButton(texts::kStop, this);
    m_stop->setObjectName(QStringLiteral("card_history_stop"));
    m_stop->setEnabled(false);
    m_progress = newDaysProgress(this, QStringLiteral("card_history_progress"));

    m_siteLabel = new QLabel(this);
    m_siteLabel->setObjectName(QStringLiteral("card_history_site"));
    m_siteLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("card_history_note"));
    m_note->setWordWrap(true);
    m_note->hide();
    m_rangeSettle = new QTimer(this);
    m_rangeSettle->setSingleShot(true);
    m_rangeSettle->setInterval(kRangeSettleMs);

    m_daysModel = new HistoryDaysModel(this);
    m_days = newRowsTable(this, QStringLiteral("card_history_days"), m_daysModel);
    m_days->setAccessibleName(texts::kDaysName);
    // Rows as low as the text allows: the hour picture beside shows as many days as the list.
    m_days->verticalHeader()->setMinimumSectionSize(1);
    m_days->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    // Fitted once to the first day read: fitting on every day would measure every row again.
    m_days->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    m_heat = new HistoryHeatMap(m_days, m_daysModel, this);
    m_heat->setObjectName(QStringLiteral("card_history_heat"));
    m_legend = new HistoryHeatLegend(this);
    m_legend->setObjectName(QStringLiteral("card_history_legend"));

    m_swipesModel = new ThumbnailListModel(kThumbnail, this);
    m_swipes = newPictureStrip(this, QStringLiteral("card_history_swipes"), QListView::LeftToRight,
                               kThumbnail);
    m_swipes->setAccessibleName(texts::kSwipesName);
    m_swipes->setFixedHeight(kThumbnail.height() + 3 * fontMetrics().height() + 24);
    m_swipes->setModel(m_swipesModel);
    m_thumbnails = new ThumbnailLoader(SiteIoBudget::historyThumbnails, this);
    m_reader = new HistoryReader(this);
}

void CardHistoryWindow::layOutParts()
{
    auto* asking = new QHBoxLayout;
    asking->addWidget(m_field);
    asking->addWidget(m_search, 1);
    asking->addWidget(new QLabel(texts::kEndLabel, this));
    asking->addWidget(m_end);
    asking->addWidget(new QLabel(texts::kRangeLabel, this));
    asking->addWidget(m_range);
    asking->addWidget(m_query);
    asking->addWidget(m_stop);
    // The picture beside the list, row for row; the list's scroll bar moves both.
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(m_days);
    split->addWidget(m_heat);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(asking);
    layout->addWidget(m_siteLabel);
    layout->addWidget(m_progress);
    layout->addWidget(m_note);
    layout->addWidget(split, 1);
    layout->addWidget(m_legend, 0, Qt::AlignRight);
    layout->addWidget(m_swipes);
}

void CardHistoryWindow::addTakeOutActions()
{
    addCopyAndExport(
        m_days,
        [this] {
            const int row = selectedDayRow();
            if (row < 0)
                return;
            QStringList values;
            for (int column = 0; column < HistoryDaysModel::ColumnCount; ++column)
                values.append(m_daysModel->index(row, column).data().toString());
            QApplication::clipboard()->setText(values.join(u'\t'));
        },
        [this] {
            exportSwipes(this, m_daysModel->allSwipes(),
                         historyCsvFileName(m_searched, m_end->date()), protectedPlaces());
        });
    addCopyAndExport(
        m_swipes,
        [this] {
            const int row = m_swipes->currentIndex().row();
            if (row >= 0 && row < m_shownSwipes.size())
                QApplication::clipboard()->setText(historyCopyLine(m_shownSwipes[row]));
        },
        [this] {
            exportSwipes(this, m_shownSwipes, historyCsvFileName(m_searched, m_end->date()),
                         protectedPlaces());
        });
}

// 在主視窗顯示 on a day finds the card's day in the main window, on a swipe the swipe itself.
void CardHistoryWindow::addMainWindowActions()
{
    auto* day = new QAction(QString::fromUtf16(kShowInMainWindow), m_days);
    connect(day, &QAction::triggered, this, [this] {
        const int row = selectedDayRow();
        if (row < 0)
            return;
        const HistoryDay& shown = m_daysModel->day(row);
        Swipe swipe;
        swipe.day = shown.date;
        swipe.card =
            shown.card.isEmpty() && m_shown.field == HistoryField::Card ? m_shown.text : shown.card;
        emit mainWindowRequested(swipe);
    });
    m_days->addAction(day);
    auto* swipe = new QAction(QString::fromUtf16(kShowInMainWindow), m_swipes);
    connect(swipe, &QAction::triggered, this, [this] {
        const int row = m_swipes->currentIndex().row();
        if (row >= 0 && row < m_shownSwipes.size())
            emit mainWindowRequested(m_shownSwipes[row]);
    });
    m_swipes->addAction(swipe);
}

// The shown history on paper or as PDF, with each swipe's small picture when 含影像 is ticked.
void CardHistoryWindow::addReportActions()
{
    auto* print = new QAction(report_texts::kPrintAction, this);
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, [this] { printReport(this, reportJob()); });
    auto* pdf = new QAction(report_texts::kExportPdfAction, this);
    connect(pdf, &QAction::triggered, this, [this] { exportReportPdf(this, reportJob()); });
    m_withPictures = new QAction(report_texts::kWithPicturesAction, this);
    m_withPictures->setCheckable(true);
    addAction(print);
    m_days->addActions({print, pdf, m_withPictures});
}

// The selected day's swipes as an evidence package, and the selected swipe into a case.
void CardHistoryWindow::addPackageAction()
{
    auto* package = new QAction(report_texts::kPackageAction, this);
    connect(package, &QAction::triggered, this, &CardHistoryWindow::packageSelectedDay);
    m_days->addAction(package);
    m_swipes->addAction(package);
    connect(&CaseDesk::instance(), &CaseDesk::changed, this, &CardHistoryWindow::showSwipeLabels);
    addCaseAction(m_swipes, [this]() -> std::optional<Swipe> {
        const int row = m_swipes->currentIndex().row();
        if (row < 0 || row >= m_shownSwipes.size())
            return std::nullopt;
        return m_shownSwipes[row];
    });
}

void CardHistoryWindow::packageSelectedDay()
{
    const int row = selectedDayRow();
    if (row < 0 || m_shownSwipes.isEmpty())
        return;
    const QDate day = m_daysModel->day(row).date;
    PackageJob job;
    for (const Swipe& swipe : std::as_const(m_shownSwipes))
        job.request.swipes.append({swipe, siteCaptionOf(swipe.parameterFile), {}});
    job.request.origin = report_texts::historyDayOrigin(m_searched, day);
    job.proposedFileName = evidencePackageName(m_searched, day);
    exportEvidencePackage(this, job);
}

ReportJob CardHistoryWindow::reportJob() const
{
    QList<HistoryDay> days;
    for (int row = 0; row < m_daysModel->rowCount(); ++row)
        days.append(m_daysModel->day(row));
    SwipePicture picture;
    if (m_withPictures->isChecked())
        picture = [](const Swipe& swipe) {
            return swipeThumbnail(swipe, kHistoryPictureSize);
        };
    return historyReportJob(m_shown, days, picture);
}

void CardHistoryWindow::connectParts()
{
    addStopOrCloseAction(
        this, [this] { return m_reader->isReading(); }, [this] { stopSearch(); });
    connect(m_query, &QPushButton::clicked, this, &CardHistoryWindow::startSearch);
    connect(m_search, &QLineEdit::returnPressed, this, &CardHistoryWindow::startSearch);
    connect(m_stop, &QPushButton::clicked, this, &CardHistoryWindow::stopSearch);
    connect(m_reader, &HistoryReader::daysRead, this, &CardHistoryWindow::daysRead);
    connect(m_reader, &HistoryReader::progressed, this, [this](int read, int total) {
        m_progress->setMaximum(total);
        m_progress->setValue(read);
    });
    connect(m_reader, &HistoryReader::finished, this, &CardHistoryWindow::readingEnded);
    // A search shown is searched again over a changed range, so that what is shown (and printed)
    // is always the range asked.
    connect(m_range, &QComboBox::currentIndexChanged, m_rangeSettle, qOverload<>(&QTimer::start));
    connect(m_end, &QDateEdit::dateChanged, m_rangeSettle, qOverload<>(&QTimer::start));
    connect(m_rangeSettle, &QTimer::timeout, this, [this] {
        if (!m_shown.text.isEmpty())
            startSearch();
    });
    m_days->installEventFilter(this);
    connect(m_days->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showDay(current.row()); });
    connect(m_heat, &HistoryHeatMap::cellClicked, this, &CardHistoryWindow::heatCellClicked);
    connect(m_swipes, &QListView::activated, this,
            [this](const QModelIndex& index) { chooseSwipe(index.row()); });
    connect(m_swipes->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() < m_shownSwipes.size())
                    m_chosenSwipe = m_shownSwipes[current.row()];
            });
    connect(m_thumbnails, &ThumbnailLoader::loaded, this, [this](int job, const QImage& image) {
        m_swipesModel->setThumbnail(m_thumbnailRows[job], image);
    });
    connect(m_swipes->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &CardHistoryWindow::loadThumbnailsInView);
    m_swipes->viewport()->installEventFilter(this);
}

void CardHistoryWindow::search(const HistoryQuery& query)
{
    m_site = query;
    showSite();
    m_field->setCurrentIndex(query.field == HistoryField::Card ? 0 : 1);
    m_search->setText(query.text);
    const QSignalBlocker keepEnd(m_end);
    const QSignalBlocker keepRange(m_range);
    m_end->setDate(query.end);
    const qsizetype choice = rangeChoices().indexOf(query.dayCount);
    if (choice >= 0)
        m_range->setCurrentIndex(static_cast<int>(choice));
    // A count the window does not offer (from the command line) is read as asked.
    run(choice >= 0 ? askedQuery() : query);
}

void CardHistoryWindow::followSite(const QString& recordsFolder, const QString& photoFolder,
                                   const QString& parameterFile)
{
    m_site.recordsFolder = recordsFolder;
    m_site.photoFolder = photoFolder;
    m_site.parameterFile = parameterFile;
    showSite();
}

// A site is known by its parameter file; a command line may give its records folder alone.
void CardHistoryWindow::showSite()
{
    const QString site =
        m_site.parameterFile.isEmpty() ? m_site.recordsFolder : m_site.parameterFile;
    m_siteLabel->setText(texts::kSearchedSite.arg(QDir::toNativeSeparators(site)));
}

HistoryQuery CardHistoryWindow::askedQuery() const
{
    HistoryQuery query;
    query.field = m_field->currentIndex() == 0 ? HistoryField::Card : HistoryField::Name;
    query.text = m_search->text();
    query.end = m_end->date();
    query.dayCount = m_range->currentData().toInt();
    query.recordsFolder = m_site.recordsFolder;
    query.photoFolder = m_site.photoFolder;
    query.parameterFile = m_site.parameterFile;
    return query;
}

void CardHistoryWindow::startSearch()
{
    run(askedQuery());
}

void CardHistoryWindow::run(const HistoryQuery& query)
{
    m_rangeSettle->stop();
    m_searched = query.text;
    m_shown = query;
    showNote({});
    m_daysModel->clear();
    showDay(-1);
    showTitle(query);
    m_stop->setEnabled(true);
    m_reader->start(query);
}

void CardHistoryWindow::stopSearch()
{
    m_reader->stop();
}

void CardHistoryWindow::readingEnded(bool allRead)
{
    m_stop->setEnabled(false);
    if (allRead && !m_daysModel->hasSwipes())
        showNote(texts::kNoSwipes.arg(m_shown.text, rangeText(m_shown)));
}

void CardHistoryWindow::showNote(const QString& note)
{
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

QString CardHistoryWindow::rangeText(const HistoryQuery& query)
{
    return dayText(query.end.addDays(1 - query.dayCount)) + texts::kRangeJoin + dayText(query.end);
}

void CardHistoryWindow::showTitle(const HistoryQuery& query)
{
    setWindowTitle(texts::kTitlePrefix + query.text + u' ' + rangeText(query));
}

void CardHistoryWindow::daysRead(const QList<HistoryDay>& entries)
{
    const bool first = m_daysModel->rowCount() == 0;
    m_daysModel->addDays(entries);
    if (first)
        m_days->resizeColumnsToContents();
    // The end day, the newest and so the first row, is shown as soon as it is read, unless the
    // operator has chosen a day already.
    if (selectedDayRow() < 0 && m_daysModel->rowCount() > 0 &&
        m_daysModel->day(0).date == m_shown.end)
        m_days->setCurrentIndex(m_daysModel->index(0, 0));
    if (m_daysModel->cardLimitPassed() && m_reader->isReading()) {
        stopSearch();
        showNote(texts::kTooManyCards.arg(m_shown.text, QString::number(kHistoryCardLimit)));
    }
}

QStringList CardHistoryWindow::protectedPlaces() const
{
    return {m_site.recordsFolder, m_site.photoFolder, m_site.parameterFile};
}

int CardHistoryWindow::selectedDayRow() const
{
    const QModelIndex current = m_days->currentIndex();
    return current.isValid() ? current.row() : -1;
}

// Each swipe's time and direction, a mark on those a case holds and a tick on the reference's.
void CardHistoryWindow::showSwipeLabels()
{
    const QString site = m_shownSwipes.isEmpty() ? QString() : m_shownSwipes[0].parameterFile;
    CaseStore* store = site.isEmpty() ? nullptr : CaseDesk::instance().quietStore();
    const QHash<QString, QStringList> marked =
        store ? store->casesBySwipe(site) : QHash<QString, QStringList>();
    QStringList labels;
    for (const Swipe& swipe : std::as_const(m_shownSwipes)) {
        QString label = swipe.time + u'\n' + swipe.direction;
        if (marked.contains(swipeKey(swipe.day, swipe.time, swipe.card)))
            label += texts::kInCase;
        labels.append(label);
    }
    m_swipesModel->setTexts(labels);
    m_swipesModel->setTickedRow(referenceRow(site));
    loadThumbnailsInView();
}

// The row of the shown swipe whose photo is its card's reference at site; -1 for none.
int CardHistoryWindow::referenceRow(const QString& site) const
{
    CaseStore* store = site.isEmpty() ? nullptr : CaseDesk::instance().quietStore();
    const std::optional<CardReference> reference =
        store ? store->reference(site, m_shownSwipes[0].card) : std::nullopt;
    if (!reference)
        return -1;
    const auto ticked =
        std::find_if(m_shownSwipes.cbegin(), m_shownSwipes.cend(),
                     [&](const Swipe& swipe) { return isReferenceSwipe(*reference, swipe); });
    return ticked == m_shownSwipes.cend() ? -1 : static_cast<int>(ticked - m_shownSwipes.cbegin());
}

void CardHistoryWindow::showDay(int row)
{
    m_shownSwipes = row >= 0 ? m_daysModel->day(row).swipes : QList<Swipe>();
    showSwipeLabels();
}

// Only the pictures the strip shows are loaded, the others once scrolled into view: a day of
// many swipes does not hold the site threads that read the remaining days.
void CardHistoryWindow::loadThumbnailsInView()
{
    const QRect shown = m_swipes->viewport()->rect();
    QList<ThumbnailLoader::Job> jobs;
    m_thumbnailRows.clear();
    for (int row = 0; row < m_shownSwipes.size(); ++row) {
        const QModelIndex index = m_swipesModel->index(row);
        if (index.data(ThumbnailListModel::ThumbnailStateRole) == ThumbnailListModel::Pending &&
            m_swipes->visualRect(index).intersects(shown)) {
            m_thumbnailRows.append(row);
            jobs.append([swipe = m_shownSwipes[row]] { return swipeThumbnail(swipe, kThumbnail); });
        }
    }
    m_thumbnails->load(std::move(jobs));
}

void CardHistoryWindow::heatCellClicked(int row, int hour)
{
    m_days->setCurrentIndex(m_daysModel->index(row, 0));
    const qsizetype nearest = nearestSwipe(m_daysModel->day(row), hour);
    if (nearest < 0)
        return;
    const QModelIndex swipe = m_swipesModel->index(static_cast<int>(nearest));
    m_swipes->setCurrentIndex(swipe);
    m_swipes->scrollTo(swipe);
}

void CardHistoryWindow::chooseSwipe(int row)
{
    if (row >= 0 && row < m_shownSwipes.size())
        emit swipeChosen(m_shownSwipes[row]);
}

// The swipe chosen before is compared with the one Ctrl+clicked, the earlier on the left; the
// click changes neither the day nor the chosen swipe.
bool CardHistoryWindow::compareWithChosen(const QPoint& at)
{
    const int row = m_swipes->indexAt(at).row();
    if (row < 0 || row >= m_shownSwipes.size() || !m_chosenSwipe ||
        *m_chosenSwipe == m_shownSwipes[row])
        return true;
    const Swipe& clicked = m_shownSwipes[row];
    const bool chosenFirst =
        std::pair(m_chosenSwipe->day, m_chosenSwipe->time) < std::pair(clicked.day, clicked.time);
    if (!m_compare)
        m_compare = new SwipeCompareWindow(this);
    m_compare->compare(chosenFirst ? *m_chosenSwipe : clicked,
                       chosenFirst ? clicked : *m_chosenSwipe, {});
    m_compare->show();
    m_compare->raise();
    m_compare->activateWindow();
    return true;
}

void CardHistoryWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        loadThumbnailsInView();
}

// A minimised window goes on reading; a closed or hidden one holds no site thread.
void CardHistoryWindow::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous()) {
        stopSearch();
        m_thumbnails->cancel();
    }
    QWidget::hideEvent(event);
}

// The strip loads the pictures a resize brings into view and compares on Ctrl+click; in the
// days list, Home and End go to the newest and the oldest day, not to the row's first and last
// column.
bool CardHistoryWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_swipes->viewport()) {
        if (event->type() == QEvent::Resize)
            loadThumbnailsInView();
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* press = static_cast<QMouseEvent*>(event);
            if (press->button() == Qt::LeftButton && press->modifiers() == Qt::ControlModifier)
                return compareWithChosen(press->position().toPoint());
        }
    }
    if (watched != m_days || event->type() != QEvent::KeyPress || m_daysModel->rowCount() == 0)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Home && key != Qt::Key_End)
        return QWidget::eventFilter(watched, event);
    m_days->setCurrentIndex(
        m_daysModel->index(key == Qt::Key_End ? m_daysModel->rowCount() - 1 : 0, 0));
    return true;
}

} // namespace card
