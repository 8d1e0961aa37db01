#include "ui/live_view/live_view_window.h"

#include "core/platform/site_io_task.h"
#include "core/records/live_rows.h"
#include "core/records/record_file.h"
#include "ui/common/accessible_names.h"
#include "ui/common/case_add_dialog.h"
#include "ui/common/case_desk.h"
#include "ui/common/photo_loader.h"
#include "ui/common/photo_texts.h"
#include "ui/common/reference_photo_view.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/common/swipe_texts.h"
#include "ui/common/view_parts.h"
#include "ui/common/window_actions.h"
#include "ui/live_view/live_row_look.h"
#include "ui/live_view/live_view_texts.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace card {

using namespace live_view_texts;

namespace {

constexpr int kPollIntervalMs = 1000;
constexpr int kHighlightMs = 2000;
// A photo is often written a few seconds after its record: it is looked for again this long.
constexpr qint64 kPhotoPatienceMs = 10'000;
constexpr int kPhotoRetryMs = 1000;
const QSize kPhotoSize(400, 300);

// The direction choices in the order of the choice box.
constexpr DirectionChoice kDirections[] = {DirectionChoice::All, DirectionChoice::In,
                                           DirectionChoice::Out};

QString clockText(const QDateTime& time)
{
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : kNotReadYet;
}

} // namespace

LiveViewWindow::LiveViewWindow(QWidget* parent, Clock clock)
    : QWidget(parent, Qt::Window)
    , m_clock(std::move(clock))
{
    setObjectName(QStringLiteral("live_view"));
    setWindowTitle(kTitle);
    buildParts();
    connectParts();
    describeControlsByName(this);
    resize(1320, 560);
}

LiveViewWindow::~LiveViewWindow() = default;

void LiveViewWindow::buildParts()
{
    m_model = new LiveRowModel(this);
    auto* look = new LiveRowLook(this);
    look->setSourceModel(m_model);

    m_card = new QLineEdit(this);
    m_card->setObjectName(QStringLiteral("live_view_card"));
    m_card->setAccessibleName(kCardName);
    m_direction = new QComboBox(this);
    m_direction->setObjectName(QStringLiteral("live_view_direction"));
    m_direction->setAccessibleName(kDirectionName);
    m_direction->addItems({kAll, kIn, kOut});
    m_pause = new QPushButton(kPause, this);
    m_pause->setObjectName(QStringLiteral("live_view_pause"));
    m_pause->setAccessibleName(kPause);
    m_pause->setCheckable(true);

    m_rows = newRowsTable(this, QStringLiteral("live_view_rows"), look);
    m_rows->setAccessibleName(kRowsName);
    m_rows->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_rows->horizontalHeader()->setStretchLastSection(true);
    m_rows->setColumnWidth(0, 130);
    m_rows->setColumnWidth(1, 110);
    m_rows->setColumnWidth(2, 110);

    m_photo = new QLabel(this);
    m_photo->setObjectName(QStringLiteral("live_view_photo"));
    m_photo->setAccessibleName(kPhotoName);
    m_photo->setFixedSize(kPhotoSize);
    m_photo->setAlignment(Qt::AlignCenter);
    m_photo->setFocusPolicy(Qt::StrongFocus);
    m_photo->setFrameShape(QFrame::StyledPanel);
    m_photoCaption = new QLabel(this);
    m_photoCaption->setObjectName(QStringLiteral("live_view_photo_caption"));
    m_photoCaption->setAlignment(Qt::AlignHCenter);
    m_photoCaption->setFixedWidth(kPhotoSize.width());

    m_reference = new ReferencePhotoView(this);
    m_reference->setObjectName(QStringLiteral("live_view_reference"));
    m_reference->setFixedSize(m_reference->sizeForPicture(kPhotoSize));

    m_status = new QLabel(this);
    // A label's name for screen readers is its text.
    m_status->setObjectName(QStringLiteral("live_view_status"));

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(kCardCaption, this));
    filters->addWidget(m_card);
    filters->addWidget(new QLabel(kDirectionCaption, this));
    filters->addWidget(m_direction);
    filters->addStretch(1);
    filters->addWidget(m_pause);
    auto* body = new QHBoxLayout;
    body->addWidget(m_rows, 1);
    auto* photoColumn = new QVBoxLayout;
    photoColumn->addWidget(m_photo);
    photoColumn->addWidget(m_photoCaption);
    photoColumn->addStretch(1);
    body->addLayout(photoColumn);
    body->addWidget(m_reference, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(body, 1);
    layout->addWidget(m_status);
    setTabOrder(m_card, m_direction);
    setTabOrder(m_direction, m_pause);
    setTabOrder(m_pause, m_rows);
    setTabOrder(m_rows, m_photo);

    m_pollTimer = new QTimer(this);
    m_pollTimer->setInterval(kPollIntervalMs);
    m_fadeTimer = new QTimer(this);
    m_fadeTimer->setSingleShot(true);
    m_fadeTimer->setInterval(kHighlightMs);
}

void LiveViewWindow::connectParts()
{
    connect(m_pollTimer, &QTimer::timeout, this, &LiveViewWindow::poll);
    connect(m_fadeTimer, &QTimer::timeout, m_model, &LiveRowModel::fadeHighlight);
    connect(m_card, &QLineEdit::textChanged, this, &LiveViewWindow::applyFilter);
    connect(m_direction, &QComboBox::currentIndexChanged, this, &LiveViewWindow::applyFilter);
    connect(m_pause, &QPushButton::toggled, this, &LiveViewWindow::setPaused);
    // Space pauses from every part but the card filter, where it is typed.
    addWindowAction(this, {}, QKeySequence(Qt::Key_Space), Qt::WindowShortcut,
                    [this] { m_pause->toggle(); });
    addEscapeAction(this, [this] { close(); });
    connect(m_rows, &QTableView::activated, this,
            [this](const QModelIndex& index) { inspectRow(index.row()); });
    connect(&CaseDesk::instance(), &CaseDesk::changed, this, [this] {
        if (!m_photoSwipe.card.isEmpty())
            showCaption();
    });
    // The shown swipe into a case, from the rows' menu or Ctrl+B anywhere in the window.
    QAction* addToCase = addCaseAction(this, [this]() -> std::optional<Swipe> {
        const Swipe* swipe = currentSwipe();
        return swipe ? std::optional<Swipe>(*swipe) : std::nullopt;
    });
    m_rows->addAction(addToCase);
    auto* mainWindow = new QAction(QString::fromUtf16(kShowInMainWindow), m_rows);
    connect(mainWindow, &QAction::triggered, this, [this] {
        if (const Swipe* swipe = m_model->swipeAt(m_rows->currentIndex().row()))
            emit mainWindowRequested(*swipe);
    });
    m_rows->addAction(mainWindow);
    m_rows->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_rows->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                m_followNewest = !current.isValid() || current.row() == 0;
                showCurrentPhoto();
            });
    connect(m_rows->model(), &QAbstractItemModel::rowsAboutToBeInserted, this,
            &LiveViewWindow::rowsArriving);
    connect(m_rows->model(), &QAbstractItemModel::rowsInserted, this, &LiveViewWindow::rowsArrived);
}

void LiveViewWindow::follow(const QString& recordsFolder, const QString& photoFolder,
                            const QString& parameterFile)
{
    m_follower = std::make_shared<DayFileFollower>(recordsFolder, photoFolder, parameterFile);
    m_recordsFolder = recordsFolder;
    m_fileState = LivePoll::State::Following; // nothing known of the new site's file yet
    m_model->clear();
    forgetPhoto();
    m_look.drop();
    m_followSince = m_clock();
    m_lastAnswer = {};
    if (isVisible())
        poll();
}

void LiveViewWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_pollTimer->start();
    poll();
}

void LiveViewWindow::hideEvent(QHideEvent* event)
{
    m_pollTimer->stop();
    QWidget::hideEvent(event);
}

// One look at the file at a time: a look that hangs on a dead share holds the next ones back
// until it returns, and the status line says so meanwhile.
void LiveViewWindow::poll()
{
    showStatus();
    if (m_look.pending() || !m_follower)
        return;
    const LatestRequest::Ticket ticket = m_look.start();
    auto look = [follower = m_follower, now = m_clock()] {
        return follower->poll(now);
    };
    runOnSiteIo(this, std::move(look), [this, ticket](const LivePoll& result) {
        if (m_look.finish(ticket))
            applyPoll(result);
    });
}

void LiveViewWindow::applyPoll(const LivePoll& poll)
{
    if (poll.state != LivePoll::State::Lost)
        m_lastAnswer = m_clock();
    m_fileState = poll.state;
    m_dayFileName = recordFileName(poll.day);
    m_model->add(poll.swipes, poll.day);
    showStatus();
}

void LiveViewWindow::showStatus()
{
    const QDateTime now = m_clock();
    const QDateTime reference = m_lastAnswer.isValid() ? m_lastAnswer : m_followSince;
    const bool lost = !m_follower || liveConnectionLost(reference, now);
    QString state = lost ? kLost : kLive;
    if (!lost && m_fileState == LivePoll::State::FolderDenied)
        state = kFolderDenied.arg(QDir::toNativeSeparators(m_recordsFolder));
    else if (!lost && m_fileState == LivePoll::State::FileDenied)
        state = kFileDenied.arg(m_dayFileName);
    QStringList parts{state, kLastReadAt.arg(clockText(m_lastAnswer))};
    if (!lost && m_fileState == LivePoll::State::Waiting)
        parts << kWaitingForFile.arg(m_dayFileName);
    if (m_model->isPaused())
        parts << pausedNote(m_model->waitingCount());
    m_status->setText(parts.join(QStringLiteral("　")));
}

void LiveViewWindow::applyFilter()
{
    const QString card = m_card->text();
    m_model->setFilter(RecordCriteria{!card.isEmpty(), card,
                                      kDirections[std::max(0, m_direction->currentIndex())]});
    m_followNewest = true;
    showCurrentPhoto();
}

void LiveViewWindow::setPaused(bool paused)
{
    m_pause->setText(paused ? kResume : kPause);
    m_model->setPaused(paused);
    showStatus();
}

void LiveViewWindow::rowsArriving()
{
    const QModelIndex current = m_rows->currentIndex();
    m_followNewest = !current.isValid() || current.row() == 0;
}

// New rows come in at the top: the view keeps the operator's row, or stays on the newest.
void LiveViewWindow::rowsArrived()
{
    m_fadeTimer->start();
    if (!m_followNewest)
        return;
    if (m_rows->currentIndex().isValid())
        m_rows->setCurrentIndex(m_rows->model()->index(0, 0));
    showCurrentPhoto();
}

// The swipe of the current row, or the newest when the view follows the newest.
const Swipe* LiveViewWindow::currentSwipe() const
{
    const QModelIndex current = m_rows->currentIndex();
    if (current.isValid() && !m_followNewest)
        return m_model->swipeAt(current.row());
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (const Swipe* swipe = m_model->swipeAt(row))
            return swipe;
    }
    return nullptr;
}

void LiveViewWindow::showCurrentPhoto()
{
    const Swipe* swipe = currentSwipe();
    if (!swipe) {
        forgetPhoto();
        return;
    }
    if (*swipe == m_photoSwipe && m_photoSince.isValid())
        return;
    showPhotoOf(*swipe);
}

// No swipe shown: a lookup still retrying for one is dropped with it.
void LiveViewWindow::forgetPhoto()
{
    m_photoLookup.drop();
    m_photo->clear();
    m_photoCaption->clear();
    m_reference->showCard({}, {});
    m_photoSwipe = {};
    m_photoSince = {};
}

// The shown swipe's time, card, name and direction, and the cases that hold it.
void LiveViewWindow::showCaption()
{
    const Swipe& swipe = m_photoSwipe;
    QString caption = photoCaption(swipe.time, swipe.card, swipe.name, swipe.direction);
    if (const QString mark = caseMark(swipe); !mark.isEmpty())
        caption += u'\n' + mark;
    m_photoCaption->setText(caption);
}

void LiveViewWindow::showPhotoOf(const Swipe& swipe)
{
    m_photoSwipe = swipe;
    m_photoSince = m_clock();
    showCaption();
    m_reference->showCard(swipe.parameterFile, swipe.card);
    showLoading();
    lookUpPhoto(m_photoLookup.start());
}

void LiveViewWindow::lookUpPhoto(LatestRequest::Ticket ticket)
{
    const QSize box = m_photo->contentsRect().size();
    auto find = [swipe = m_photoSwipe, box] {
        return swipeThumbnail(swipe, box);
    };
    runOnSiteIo(this, std::move(find), [this, ticket](const QImage& picture) {
        if (!m_photoLookup.isCurrent(ticket))
            return;
        if (!picture.isNull()) {
            m_photoLookup.finish(ticket);
            m_photo->setPixmap(QPixmap::fromImage(picture));
            m_photo->setAccessibleName(kPhotoName);
            return;
        }
        if (m_photoSince.msecsTo(m_clock()) >= kPhotoPatienceMs) {
            m_photoLookup.finish(ticket);
            showNoPhoto();
            return;
        }
        QTimer::singleShot(kPhotoRetryMs, this, [this, ticket] {
            if (m_photoLookup.isCurrent(ticket))
                lookUpPhoto(ticket);
        });
    });
}

// A grey box that says the photo is still looked for: unlike the no-photo picture, it promises
// nothing yet.
void LiveViewWindow::showLoading()
{
    QPixmap loading(m_photo->contentsRect().size());
    loading.fill(palette().color(QPalette::Window).darker(110));
    QPainter painter(&loading);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(loading.rect(), Qt::AlignCenter, kPhotoLoading);
    painter.end();
    m_photo->setPixmap(loading);
    m_photo->setAccessibleName(kPhotoLoading);
}

void LiveViewWindow::showNoPhoto()
{
    m_photo->setPixmap(noPhotoThumbnail(m_photo->contentsRect().size()));
    m_photo->setAccessibleName(kNoPhotoText);
}

void LiveViewWindow::inspectRow(int row)
{
    if (const Swipe* swipe = m_model->swipeAt(row))
        emit inspectRequested(*swipe);
}

} // namespace card
