#include "ui/exceptions/exceptions_window.h"

#include "core/platform/site_io_pool.h"
#include "core/records/exception_export.h"
#include "core/text/day_text.h"
#include "ui/common/accessible_names.h"
#include "ui/common/action_texts.h"
#include "ui/common/case_add_dialog.h"
#include "ui/common/reference_photo_view.h"
#include "ui/common/results_export.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/common/swipe_pictures/thumbnail_list_model.h"
#include "ui/common/swipe_pictures/thumbnail_loader.h"
#include "ui/common/view_parts.h"
#include "ui/common/window_actions.h"
#include "ui/common/window_placing.h"
#include "ui/exceptions/exception_rows_model.h"
#include "ui/exceptions/exceptions_reader.h"
#include "ui/exceptions/exceptions_texts.h"
#include "ui/reports/exceptions_report.h"
#include "ui/reports/report_texts.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>

#include <array>

namespace card {

namespace {

namespace texts = exceptions_texts;

const QSize kThumbnail(240, 180);
constexpr int kDefaultRangeDays = 1;
constexpr int kFittedRows = 100;

// One number of the settings dialog: its label, its control's name, its limits and its field.
struct SettingRow {
    QString label;
    const char* name;
    int minimum;
    int maximum;
    int ExceptionSettings::*field;
};

const std::array<SettingRow, 6> kSettingRows{{
    {texts::kBurstCount, "exceptions_burst_count", 2, 100, &ExceptionSettings::burstCount},
    {texts::kBurstSeconds, "exceptions_burst_seconds", 1, 3600, &ExceptionSettings::burstSeconds},
    {texts::kNightFrom, "exceptions_night_from", 0, 23, &ExceptionSettings::nightFromHour},
    {texts::kNightUntil, "exceptions_night_until", 0, 23, &ExceptionSettings::nightUntilHour},
    {texts::kRareDays, "exceptions_rare_days", 1, 365, &ExceptionSettings::rareDays},
    {texts::kRareMinimumDays, "exceptions_rare_minimum", 1, 365,
     &ExceptionSettings::rareMinimumDays},
}};

// The settings dialog: true with settings changed when it was accepted.
bool askSettings(QWidget* parent, ExceptionSettings& settings)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("exceptions_settings_dialog"));
    dialog.setWindowTitle(texts::kSettingsTitle);
    auto* form = new QFormLayout(&dialog);
    std::array<QSpinBox*, kSettingRows.size()> boxes{};
    for (size_t k = 0; k < kSettingRows.size(); ++k) {
        const SettingRow& row = kSettingRows[k];
        boxes[k] = new QSpinBox(&dialog);
        boxes[k]->setObjectName(QString::fromLatin1(row.name));
        boxes[k]->setRange(row.minimum, row.maximum);
        boxes[k]->setValue(settings.*row.field);
        form->addRow(row.label, boxes[k]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    describeControlsByName(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (size_t k = 0; k < kSettingRows.size(); ++k)
        settings.*kSettingRows[k].field = boxes[k]->value();
    return true;
}

QString dayAndTime(const Swipe& swipe)
{
    return dayText(swipe.day) + u' ' + swipe.time;
}

} // namespace

const QList<int>& ExceptionsWindow::rangeChoices()
{
    static const QList<int> choices{1, 7, 30, 90, 365};
    return choices;
}

ExceptionsWindow::ExceptionsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("exceptions"));
    setWindowTitle(texts::kTitle);
    buildParts();
    layOutParts();
    createActions();
    connectParts();
    describeControlsByName(this);
    resizeWithinScreen(*this, QSize(1200, 800));
}

void ExceptionsWindow::buildParts()
{
    m_end = newDayEdit(this, QStringLiteral("exceptions_end"));
    m_range =
        newRangeChoice(this, QStringLiteral("exceptions_range"), rangeChoices(), kDefaultRangeDays);
    m_query = new QPushButton(texts::kQuery, this);
    m_query->setObjectName(QStringLiteral("exceptions_query"));
    m_stop = new QPushButton(texts::kStop, this);
    m_stop->setObjectName(QStringLiteral("exceptions_stop"));
    m_stop->setEnabled(false);
    m_settings = new QPushButton(texts::kSettings, this);
    m_settings->setObjectName(QStringLiteral("exceptions_settings"));
    m_progress = newDaysProgress(this, QStringLiteral("exceptions_progress"));

    m_rulesModel = new QStandardItemModel(this);
    for (const ExceptionRule rule : kExceptionRules) {
        auto* item = new QStandardItem;
        item->setCheckable(true);
        item->setCheckState(Qt::Checked);
        item->setEditable(false);
        item->setData(static_cast<int>(rule));
        m_rulesModel->appendRow(item);
    }
    m_rules = new QListView(this);
    m_rules->setObjectName(QStringLiteral("exceptions_rules"));
    m_rules->setAccessibleName(texts::kRulesName);
    m_rules->setModel(m_rulesModel);
    m_rules->setUniformItemSizes(true);
    m_rules->setMaximumWidth(200);

    m_rowsModel = new ExceptionRowsModel(this);
    m_rowsFilter = new ExceptionRowsFilter(m_rowsModel, this);
    m_rows = newRowsTable(this, QStringLiteral("exceptions_rows"), m_rowsFilter);
    m_rows->setAccessibleName(texts::kRowsName);
    m_rows->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_rows->horizontalHeader()->setStretchLastSection(true);
    // The columns are fitted to a screenful of the first hits, not to a thousand of them:
    // every row measured builds its texts, in the turn that shows the first rows.
    m_rows->horizontalHeader()->setResizeContentsPrecision(kFittedRows);
    m_rows->setSortingEnabled(true);
    m_rows->sortByColumn(ExceptionRowsModel::DateColumn, Qt::DescendingOrder);

    m_photosModel = new ThumbnailListModel(kThumbnail, this);
    m_photos = newPictureStrip(this, QStringLiteral("exceptions_photos"), QListView::LeftToRight,
                               kThumbnail);
    m_photos->setAccessibleName(texts::kPhotosName);
    m_photos->setSpacing(6);
    m_photos->setSelectionMode(QAbstractItemView::NoSelection);
    m_photos->setFixedHeight(kThumbnail.height() + 3 * fontMetrics().height() + 24);
    m_photos->setModel(m_photosModel);
    m_reference = new ReferencePhotoView(this);
    m_reference->setObjectName(QStringLiteral("exceptions_reference"));
    m_reference->setFixedSize(m_reference->sizeForPicture(kThumbnail));
    m_thumbnails = new ThumbnailLoader(SiteIoBudget::rowThumbnails, this);
    m_reader = new ExceptionsReader(this);
    showRuleCounts();
}

void ExceptionsWindow::layOutParts()
{
    auto* asking = new QHBoxLayout;
    asking->addWidget(new QLabel(texts::kEndLabel, this));
    asking->addWidget(m_end);
    asking->addWidget(new QLabel(texts::kRangeLabel, this));
    asking->addWidget(m_range);
    asking->addWidget(m_query);
    asking->addWidget(m_stop);
    asking->addStretch(1);
    asking->addWidget(m_settings);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(m_rules);
    split->addWidget(m_rows);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(asking);
    layout->addWidget(m_progress);
    layout->addWidget(split, 1);
    auto* photos = new QHBoxLayout;
    photos->addWidget(m_photos, 1);
    photos->addWidget(m_reference, 0, Qt::AlignTop);
    layout->addLayout(photos);
}

// The hits' menu: copy, the inspection window, the main window, the CSV file, print and PDF (each
// hit with its two small photos).
void ExceptionsWindow::createActions()
{
    const auto add = [this](const QString& text, const QKeySequence& key,
                            const std::function<void()>& what) {
        return addWindowAction(m_rows, text, key, Qt::WidgetShortcut, what);
    };
    add(action_texts::kCopy, QKeySequence::Copy, [this] {
        const int hit = selectedHit();
        if (hit >= 0)
            QApplication::clipboard()->setText(exceptionCopyLine(m_rowsModel->hit(hit)));
    });
    add(texts::kInspect, {}, [this] {
        const int hit = selectedHit();
        if (hit >= 0)
            emit swipeChosen(m_rowsModel->hit(hit).swipe);
    });
    add(QString::fromUtf16(kShowInMainWindow), {}, [this] {
        const int hit = selectedHit();
        if (hit >= 0)
            emit mainWindowRequested(m_rowsModel->hit(hit).swipe);
    });
    add(action_texts::kExportList, {}, [this] {
        exportExceptions(this, m_rowsModel->hits(),
                         exceptionsFileName(m_shown.end, m_shown.dayCount, QStringLiteral("csv")),
                         protectedPlaces());
    });
    // Print works anywhere in the window.
    m_rows->addAction(addWindowAction(this, report_texts::kPrintAction, QKeySequence::Print,
                                      Qt::WindowShortcut,
                                      [this] { printReport(this, reportJob()); }));
    add(report_texts::kExportPdfAction, {}, [this] { exportReportPdf(this, reportJob()); });
    addCaseAction(m_rows, [this]() -> std::optional<Swipe> {
        const int hit = selectedHit();
        if (hit < 0)
            return std::nullopt;
        return m_rowsModel->hit(hit).swipe;
    });
    m_rows->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ExceptionsWindow::connectParts()
{
    addStopOrCloseAction(
        this, [this] { return m_reader->isReading(); }, [this] { stopSearch(); });
    connect(m_query, &QPushButton::clicked, this, &ExceptionsWindow::startSearch);
    connect(m_stop, &QPushButton::clicked, this, &ExceptionsWindow::stopSearch);
    connect(m_settings, &QPushButton::clicked, this, &ExceptionsWindow::editSettings);
    connect(m_reader, &ExceptionsReader::hitsFound, this, &ExceptionsWindow::hitsFound);
    connect(m_reader, &ExceptionsReader::progressed, this, [this](int read, int total) {
        m_progress->setMaximum(total);
        m_progress->setValue(read);
    });
    connect(m_reader, &ExceptionsReader::finished, this, [this] { m_stop->setEnabled(false); });
    connect(m_rulesModel, &QStandardItemModel::itemChanged, this, [this](QStandardItem* item) {
        ruleTicked(item->data().toInt(), item->checkState() == Qt::Checked);
    });
    connect(m_rows->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ExceptionsWindow::showPhotos);
    connect(m_rows, &QTableView::activated, this, [this](const QModelIndex& index) {
        emit swipeChosen(m_rowsModel->hit(m_rowsFilter->mapToSource(index).row()).swipe);
    });
    connect(m_thumbnails, &ThumbnailLoader::loaded, m_photosModel,
            &ThumbnailListModel::setThumbnail);
}

void ExceptionsWindow::search(const ExceptionQuery& query)
{
    m_site = query;
    m_end->setDate(query.end);
    const qsizetype choice = rangeChoices().indexOf(query.dayCount);
    if (choice >= 0)
        m_range->setCurrentIndex(static_cast<int>(choice));
    // A count the window does not offer (from the command line) is read as asked.
    run(choice >= 0 ? askedQuery() : query);
}

void ExceptionsWindow::followSite(const QString& recordsFolder, const QString& photoFolder,
                                  const QString& parameterFile)
{
    m_site.recordsFolder = recordsFolder;
    m_site.photoFolder = photoFolder;
    m_site.parameterFile = parameterFile;
}

ExceptionQuery ExceptionsWindow::askedQuery() const
{
    ExceptionQuery query = m_site;
    query.end = m_end->date();
    query.dayCount = m_range->currentData().toInt();
    query.now = QDateTime::currentDateTime();
    return query;
}

void ExceptionsWindow::startSearch()
{
    run(askedQuery());
}

void ExceptionsWindow::stopSearch()
{
    m_reader->stop();
}

void ExceptionsWindow::run(const ExceptionQuery& query)
{
    m_shown = query;
    m_rowsModel->clear();
    showRuleCounts();
    showPhotos({});
    setWindowTitle(texts::kTitleRange.arg(dayText(query.first()), dayText(query.end)));
    m_stop->setEnabled(true);
    m_reader->start(query);
}

void ExceptionsWindow::hitsFound(const QList<ExceptionHit>& hits)
{
    const bool first = m_rowsModel->rowCount() == 0;
    m_rowsModel->append(hits);
    showRuleCounts();
    // Fitted once to the first hits: fitting on every batch would measure every row again.
    if (first)
        m_rows->resizeColumnsToContents();
    if (!m_rows->currentIndex().isValid() && m_rowsFilter->rowCount() > 0)
        m_rows->setCurrentIndex(m_rowsFilter->index(0, 0));
}

void ExceptionsWindow::showRuleCounts()
{
    const QSignalBlocker quiet(m_rulesModel);
    for (int row = 0; row < m_rulesModel->rowCount(); ++row) {
        const auto rule = static_cast<size_t>(row);
        m_rulesModel->item(row)->setText(
            texts::kRuleCount.arg(exceptionRuleName(kExceptionRules[rule]),
                                  QString::number(m_rowsModel->ruleCounts()[rule])));
    }
    m_rules->viewport()->update();
}

void ExceptionsWindow::ruleTicked(int rule, bool shown)
{
    m_rowsFilter->setRuleShown(static_cast<ExceptionRule>(rule), shown);
}

int ExceptionsWindow::selectedHit() const
{
    const QModelIndex current = m_rows->currentIndex();
    return current.isValid() ? m_rowsFilter->mapToSource(current).row() : -1;
}

// The selected hit's photo beside the photo of the swipe it is judged against, each with its
// day and time.
void ExceptionsWindow::showPhotos(const QModelIndex& current)
{
    if (!current.isValid()) {
        m_photosModel->setTexts({});
        m_thumbnails->cancel();
        m_reference->showCard({}, {});
        return;
    }
    const ExceptionHit& hit = m_rowsModel->hit(m_rowsFilter->mapToSource(current).row());
    m_reference->showCard(hit.swipe.parameterFile, hit.swipe.card);
    QStringList labels{
        texts::kFlaggedCaption.arg(dayAndTime(hit.swipe), hit.swipe.direction, exceptionText(hit))};
    QList<ThumbnailLoader::Job> jobs{[swipe = hit.swipe] {
        return swipeThumbnail(swipe, kThumbnail);
    }};
    if (hit.reference) {
        const Swipe reference = *hit.reference;
        labels.append(texts::kReferenceCaption.arg(dayAndTime(reference), reference.direction,
                                                   reference.name));
        jobs.append([reference] { return swipeThumbnail(reference, kThumbnail); });
    } else {
        labels.append(texts::kNoReference);
    }
    m_photosModel->setTexts(labels);
    if (!hit.reference)
        m_photosModel->setThumbnail(1, {});
    m_thumbnails->load(std::move(jobs));
}

void ExceptionsWindow::editSettings()
{
    if (askSettings(this, m_site.settings))
        startSearch();
}

ReportJob ExceptionsWindow::reportJob() const
{
    QList<ExceptionHit> shown;
    for (int row = 0; row < m_rowsFilter->rowCount(); ++row)
        shown.append(
            m_rowsModel->hit(m_rowsFilter->mapToSource(m_rowsFilter->index(row, 0)).row()));
    return exceptionsReportJob(m_shown, shown, [](const Swipe& swipe) {
        return swipeThumbnail(swipe, kHistoryPictureSize);
    });
}

QStringList ExceptionsWindow::protectedPlaces() const
{
    return {m_site.recordsFolder, m_site.photoFolder, m_site.parameterFile};
}

} // namespace card
