#include "ui/presence/presence_window.h"

#include "core/cases/case_store.h"
#include "core/cases/safety_ticks.h"
#include "core/cases/trail_actions.h"
#include "core/platform/site_io_pool.h"
#include "core/platform/site_io_task.h"
#include "core/records/day_file_words.h"
#include "core/records/record_file.h"
#include "core/text/day_text.h"
#include "ui/common/accessible_names.h"
#include "ui/common/action_texts.h"
#include "ui/common/case_desk.h"
#include "ui/common/export_texts.h"
#include "ui/common/results_export.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/common/swipe_pictures/thumbnail_loader.h"
#include "ui/common/view_parts.h"
#include "ui/common/window_actions.h"
#include "ui/presence/presence_texts.h"
#include "ui/reports/report_texts.h"
#include "ui/reports/roll_call_report.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace card {

using namespace presence_texts;

namespace {

constexpr int kPollIntervalMs = 1000;
constexpr int kTypingPauseMs = 400;
// A photo is often written a few seconds after its record: a missing one of a recent entry is
// looked for again.
constexpr qint64 kPhotoPatienceSeconds = 10;

// The orders in the order of the choice box.
constexpr PresenceOrder kOrders[] = {PresenceOrder::NewestEntryFirst, PresenceOrder::ByName};

struct MomentRead {
    QList<PresentPerson> people;
    FileReadStatus dayFile = FileReadStatus::Ok;
};

QString dayFileStatusText(FileReadStatus dayFile, const QDateTime& moment)
{
    if (dayFile == FileReadStatus::Ok)
        return kAtMoment.arg(momentText(moment));
    return kDayFileProblem.arg(recordFileName(moment.date()), dayFile == FileReadStatus::CannotOpen
                                                                  ? day_file_words::kNoDayFile
                                                                  : day_file_words::kUnreadable);
}

} // namespace

PresenceWindow::PresenceWindow(QWidget* parent, Clock clock)
    : QWidget(parent, Qt::Window)
    , m_clock(std::move(clock))
{
    setObjectName(QStringLiteral("presence"));
    setWindowTitle(kTitle);
    buildParts();
    createActions();
    connectParts();
    describeControlsByName(this);
    resize(820, 560);
}

PresenceWindow::~PresenceWindow() = default;

void PresenceWindow::buildParts()
{
    m_model = new PresenceModel(this);

    m_now = new QCheckBox(kNow, this);
    m_now->setObjectName(QStringLiteral("presence_now"));
    m_now->setChecked(true);
    m_time = new QDateTimeEdit(m_clock(), this);
    m_time->setObjectName(QStringLiteral("presence_time"));
    m_time->setAccessibleName(kTimeName);
    m_time->setDisplayFormat(momentFormat().toString());
    m_time->setCalendarPopup(true);
    m_time->setEnabled(false);
    m_order = new QComboBox(this);
    m_order->setObjectName(QStringLiteral("presence_order"));
    m_order->setAccessibleName(kOrderName);
    m_order->addItems({kByEntry, kByName});
    m_count = new QLabel(kCount.arg(0), this);
    m_count->setObjectName(QStringLiteral("presence_count"));

    m_rows = newRowsTable(this, QStringLiteral("presence_rows"), m_model);
    m_rows->setAccessibleName(kRowsName);
    m_rows->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_rows->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_rows->verticalHeader()->setDefaultSectionSize(52);
    m_rows->horizontalHeader()->setStretchLastSection(true);
    m_rows->setColumnWidth(PresenceModel::PictureColumn, 72);
    m_rows->setColumnWidth(PresenceModel::CardColumn, 100);
    m_rows->setColumnWidth(PresenceModel::NameColumn, 100);
    m_rows->setColumnWidth(PresenceModel::EnteredColumn, 150);
    m_rows->setColumnWidth(PresenceModel::SpanColumn, 70);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("presence_status"));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(kTimeCaption, this));
    top->addWidget(m_now);
    top->addWidget(m_time);
    top->addWidget(new QLabel(kOrderCaption, this));
    top->addWidget(m_order);
    top->addStretch(1);
    top->addWidget(m_count);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_rows, 1);
    layout->addWidget(m_status);
    setTabOrder(m_now, m_time);
    setTabOrder(m_time, m_order);
    setTabOrder(m_order, m_rows);

    m_pollTimer = new QTimer(this);
    m_pollTimer->setInterval(kPollIntervalMs);
    m_momentTimer = new QTimer(this);
    m_momentTimer->setSingleShot(true);
    m_momentTimer->setInterval(kTypingPauseMs);
    m_pictures = new ThumbnailLoader(SiteIoBudget::rowThumbnails, this);
}

// The rows' menu and keys: copy, export, print, PDF.
void PresenceWindow::createActions()
{
    const auto add = [this](const QString& text, const QKeySequence& key,
                            const std::function<void()>& what) {
        return addWindowAction(m_rows, text, key, Qt::WindowShortcut, what);
    };
    add(action_texts::kCopy, QKeySequence::Copy, [this] { copySelected(); });
    add(action_texts::kExportList, {}, [this] { exportList(); });
    add(report_texts::kPrintAction, QKeySequence::Print,
        [this] { printReport(this, rollCallJob(rollCall())); });
    add(report_texts::kExportPdfAction, {},
        [this] { exportReportPdf(this, rollCallJob(rollCall())); });
    // Space ticks or unticks the current person in the list.
    addWindowAction(m_rows, {}, QKeySequence(Qt::Key_Space), Qt::WidgetShortcut, [this] {
        if (m_rows->currentIndex().isValid())
            toggleSafeTick(m_rows->currentIndex().row());
    });
    addEscapeAction(this, [this] { close(); });
    m_rows->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void PresenceWindow::connectParts()
{
    connect(m_pollTimer, &QTimer::timeout, this, &PresenceWindow::lookNow);
    connect(m_momentTimer, &QTimer::timeout, this, &PresenceWindow::readMoment);
    connect(m_now, &QCheckBox::toggled, this, &PresenceWindow::setFollowsNow);
    connect(m_time, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!followsNow())
            m_momentTimer->start();
    });
    connect(m_order, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model->setOrder(kOrders[std::max(0, index)]); });
    connect(m_rows, &QTableView::activated, this, [this](const QModelIndex& index) {
        if (index.column() != PresenceModel::SafeColumn)
            emit inspectRequested(m_model->people().at(index.row()).entry);
    });
    connect(m_model, &PresenceModel::tickAsked, this, &PresenceWindow::tick);
    connect(&CaseDesk::instance(), &CaseDesk::changed, this, &PresenceWindow::restoreTicks);
    connect(m_pictures, &ThumbnailLoader::loaded, this, [this](int index, const QImage& image) {
        if (index >= m_picturesLoading.size())
            return;
        const PresentPerson& person = m_picturesLoading[index];
        m_loadingKeys.remove(entryKey(person.entry));
        const bool recent = person.entered.secsTo(m_model->moment()) < kPhotoPatienceSeconds;
        if (!image.isNull() || !recent)
            m_model->setPicture(person.entry, image);
    });
}

void PresenceWindow::follow(const PresenceSite& site)
{
    m_site = site;
    restoreTicks();
    refresh();
}

void PresenceWindow::showMoment(const QDateTime& moment)
{
    m_now->setChecked(false);
    m_time->setDateTime(moment);
    readMoment();
}

bool PresenceWindow::followsNow() const
{
    return m_now->isChecked();
}

void PresenceWindow::setFollowsNow(bool now)
{
    m_time->setEnabled(!now);
    if (!now)
        m_time->setDateTime(m_clock());
    refresh();
}

// Starts over on the site and the mode chosen: a new follower for now, one read for a moment.
void PresenceWindow::refresh()
{
    m_look.drop();
    m_lastAnswer = {};
    m_follower.reset();
    m_pollTimer->stop();
    m_status->setText(kReading);
    if (m_site.recordsFolder.isEmpty())
        return;
    if (!followsNow()) {
        readMoment();
        return;
    }
    m_follower = std::make_shared<PresenceFollower>(m_site);
    if (isVisible()) {
        m_pollTimer->start();
        lookNow();
    }
}

void PresenceWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    restoreTicks();
    if (followsNow() && m_follower) {
        m_pollTimer->start();
        lookNow();
    }
}

void PresenceWindow::hideEvent(QHideEvent* event)
{
    m_pollTimer->stop();
    QWidget::hideEvent(event);
}

// One look at the present moment at a time: a look that hangs on a dead share holds the next
// ones back until it returns, and the status line says so meanwhile.
void PresenceWindow::lookNow()
{
    const QDateTime now = m_clock();
    if (!followsNow())
        return;
    m_time->setDateTime(now);
    if (m_lastAnswer.isValid() && liveConnectionLost(m_lastAnswer, now))
        m_status->setText(kLost.arg(m_lastAnswer.toString(QStringLiteral("HH:mm:ss"))));
    if (m_look.pending() || !m_follower)
        return;
    const LatestRequest::Ticket ticket = m_look.start();
    runOnSiteIo(
        this, [follower = m_follower, now] { return follower->look(now); },
        [this, ticket, now](const PresenceLook& look) {
            if (!m_look.finish(ticket))
                return;
            if (look.state != LivePoll::State::Lost) {
                m_lastAnswer = now;
                m_status->setText(kLive.arg(now.toString(QStringLiteral("HH:mm:ss"))));
            }
            showPeople(look.present, now);
        });
}

void PresenceWindow::readMoment()
{
    m_momentTimer->stop();
    const QDateTime moment = m_time->dateTime();
    const LatestRequest::Ticket ticket = m_look.start();
    m_status->setText(kReading);
    auto read = [site = m_site, moment] {
        MomentRead result;
        result.people = readPresence(site, moment, &result.dayFile).presentAt(moment);
        return result;
    };
    runOnSiteIo(this, std::move(read), [this, ticket, moment](const MomentRead& result) {
        if (!m_look.finish(ticket))
            return;
        m_status->setText(dayFileStatusText(result.dayFile, moment));
        showPeople(result.people, moment);
    });
}

void PresenceWindow::showPeople(QList<PresentPerson> people, const QDateTime& moment)
{
    m_model->setPeople(std::move(people), moment, kOrders[std::max(0, m_order->currentIndex())]);
    m_count->setText(kCount.arg(m_model->rowCount()));
    loadPictures();
}

// The pictures not loaded yet; a load still running for the same people goes on.
void PresenceWindow::loadPictures()
{
    const QList<PresentPerson> missing = m_model->withoutPicture();
    QSet<QString> keys;
    for (const PresentPerson& person : missing)
        keys.insert(entryKey(person.entry));
    if (m_loadingKeys.contains(keys))
        return;
    m_picturesLoading = missing;
    m_loadingKeys = keys;
    QList<ThumbnailLoader::Job> jobs;
    for (const PresentPerson& person : missing)
        jobs.append([entry = person.entry] { return swipeThumbnail(entry, kPresencePictureSize); });
    m_pictures->load(jobs);
}

void PresenceWindow::tick(const PresentPerson& person, bool ticked)
{
    const Swipe& entry = person.entry;
    m_model->setTick(entry, ticked ? SafetyTick{currentOperator().user, m_clock()} : SafetyTick{});
    CaseDesk::instance().record(
        this, ticked ? trail::kSafeConfirmed : trail::kSafeWithdrawn,
        safetyLine({m_site.parameterFile, entry.day, entry.time, entry.card, entry.name}));
}

// The ticks the trail keeps for the site, given at this desk or another; read only while the
// window is shown, so that a hidden window never waits for a team's server.
void PresenceWindow::toggleSafeTick(int row)
{
    const QModelIndex safe = m_model->index(row, PresenceModel::SafeColumn);
    const bool ticked = safe.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    m_model->setData(safe, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

void PresenceWindow::restoreTicks()
{
    if (!isVisible() || m_site.parameterFile.isEmpty())
        return;
    CaseStore* store = CaseDesk::instance().quietStore();
    if (!store)
        return;
    QList<TrailEntry> lines = store->trail({{}, {}, trail::kSafeConfirmed, {}});
    lines += store->trail({{}, {}, trail::kSafeWithdrawn, {}});
    m_model->setTicks(standingTicks(lines, m_site.parameterFile));
}

QList<PresentPerson> PresenceWindow::selectedPeople() const
{
    QList<PresentPerson> people;
    for (const QModelIndex& index : m_rows->selectionModel()->selectedRows())
        people.append(m_model->people().at(index.row()));
    return people;
}

// The selected rows (every row when none is selected) as lines of tab-separated values.
void PresenceWindow::copySelected()
{
    QList<PresentPerson> people = selectedPeople();
    if (people.isEmpty())
        people = m_model->people();
    QStringList lines;
    for (const PresentPerson& person : people)
        lines << presenceValues(person).join(u'\t');
    QApplication::clipboard()->setText(lines.join(u'\n'));
}

void PresenceWindow::exportList()
{
    const QList<PresentPerson> people = m_model->people();
    const QStringList places{m_site.recordsFolder, m_site.photoFolder, m_site.parameterFile};
    exportCsv(this, kCsvName.arg(m_model->moment().toString(kFileTimeFormat)), places,
              people.size(),
              [&](const QString& target) { return exportPresenceCsv(people, target, places); });
}

RollCall PresenceWindow::rollCall() const
{
    return {m_model->moment(), m_site, m_model->people()};
}

} // namespace card
