#include "ui/cases/cases_window.h"

#include "core/cases/case_store.h"
#include "core/cases/trail_actions.h"
#include "core/evidence/case_package.h"
#include "core/platform/safe_write.h"
#include "core/platform/site_io_pool.h"
#include "ui/common/accessible_names.h"
#include "ui/common/action_texts.h"
#include "ui/common/case_desk.h"
#include "ui/common/case_texts.h"
#include "ui/common/export_texts.h"
#include "ui/common/message_box.h"
#include "ui/common/results_export.h"
#include "ui/common/save_dialog.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/common/swipe_pictures/thumbnail_list_model.h"
#include "ui/common/swipe_pictures/thumbnail_loader.h"
#include "ui/common/view_parts.h"
#include "ui/common/window_actions.h"
#include "ui/reports/case_report.h"
#include "ui/reports/evidence_actions.h"
#include "ui/reports/report_actions.h"
#include "ui/reports/report_texts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace card {

namespace {

constexpr QSize kThumbnail(96, 72);

QTableView* makeTable(QWidget* parent, const QString& name, QStandardItemModel* model)
{
    QTableView* view = newRowsTable(parent, name, model);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

QList<QStandardItem*> rowOf(const QStringList& texts)
{
    QList<QStandardItem*> items;
    for (const QString& text : texts)
        items.append(new QStandardItem(text));
    return items;
}

QString timeText(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t"));
}

QComboBox* makeChoice(QWidget* parent, const QString& name)
{
    auto* choice = new QComboBox(parent);
    choice->setObjectName(name);
    choice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return choice;
}

// Fills choice with "all" and the given choices (text, kept value), keeping the chosen value.
void fillChoice(QComboBox* choice, const QList<std::pair<QString, QString>>& choices)
{
    const QString kept = choice->currentData().toString();
    const QSignalBlocker quiet(choice);
    choice->clear();
    choice->addItem(case_texts::kAllChoices, QString());
    for (const auto& [text, value] : choices)
        choice->addItem(text, value);
    choice->setCurrentIndex(std::max(0, choice->findData(kept)));
}

} // namespace

CasesWindow::CasesWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("cases"));
    setWindowTitle(case_texts::kWindowTitle);
    buildParts();
    createActions();
    connectParts();
    describeControlsByName(this);
    resize(960, 640);
}

void CasesWindow::buildParts()
{
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("cases_tabs"));
    tabs->addTab(casesPage(), case_texts::kCasesTab);
    tabs->addTab(trailPage(), case_texts::kTrailTab);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
}

QWidget* CasesWindow::casesPage()
{
    auto* page = new QWidget(this);
    m_search = new QLineEdit(page);
    m_search->setObjectName(QStringLiteral("cases_search"));
    m_search->setPlaceholderText(case_texts::kSearchPlaceholder);
    m_search->setClearButtonEnabled(true);
    m_caseModel = new QStandardItemModel(0, 6, this);
    m_caseModel->setHorizontalHeaderLabels(
        {case_texts::kNameHeading, case_texts::kStateHeading, case_texts::kCountHeading,
         case_texts::kMadeByHeading, case_texts::kMadeAtHeading, case_texts::kDescriptionHeading});
    m_cases = makeTable(page, QStringLiteral("cases_list"), m_caseModel);
    m_itemModel = new ThumbnailListModel(kThumbnail, this);
    m_items = new QListView(page);
    m_items->setObjectName(QStringLiteral("cases_items"));
    m_items->setModel(m_itemModel);
    m_items->setIconSize(kThumbnail);
    m_items->setUniformItemSizes(true);
    m_items->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_thumbnails = new ThumbnailLoader(SiteIoBudget::rowThumbnails, this);
    auto* split = new QSplitter(Qt::Vertical, page);
    split->addWidget(m_cases);
    split->addWidget(m_items);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_search);
    layout->addWidget(split);
    return page;
}

QWidget* CasesWindow::trailPage()
{
    auto* page = new QWidget(this);
    m_trailCase = makeChoice(page, QStringLiteral("cases_trail_case"));
    m_trailOperator = makeChoice(page, QStringLiteral("cases_trail_operator"));
    m_trailAction = makeChoice(page, QStringLiteral("cases_trail_action"));
    m_trailByDay = new QCheckBox(case_texts::kTimeHeading, page);
    m_trailByDay->setObjectName(QStringLiteral("cases_trail_by_day"));
    m_trailDay = newDayEdit(page, QStringLiteral("cases_trail_day"));
    m_trailModel = new QStandardItemModel(0, 6, this);
    m_trailModel->setHorizontalHeaderLabels(
        {case_texts::kTimeHeading, case_texts::kOperatorHeading, case_texts::kMachineHeading,
         case_texts::kActionHeading, case_texts::kNameHeading, case_texts::kDetailsHeading});
    m_trail = makeTable(page, QStringLiteral("cases_trail"), m_trailModel);
    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(case_texts::kNameHeading, page));
    filters->addWidget(m_trailCase);
    filters->addWidget(new QLabel(case_texts::kOperatorHeading, page));
    filters->addWidget(m_trailOperator);
    filters->addWidget(new QLabel(case_texts::kActionHeading, page));
    filters->addWidget(m_trailAction);
    filters->addWidget(m_trailByDay);
    filters->addWidget(m_trailDay);
    filters->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(filters);
    layout->addWidget(m_trail);
    return page;
}

void CasesWindow::createActions()
{
    const auto add = [](QWidget* view, const QString& text, const QKeySequence& key,
                        const std::function<void()>& what) {
        return addWindowAction(view, text, key, Qt::WidgetWithChildrenShortcut, what);
    };
    Actions& a = m_actions;
    a.close = add(m_cases, case_texts::kCloseAction, {}, [this] { setSelectedClosed(true); });
    a.reopen = add(m_cases, case_texts::kReopenAction, {}, [this] { setSelectedClosed(false); });
    a.describe = add(m_cases, case_texts::kDescribeAction, {}, [this] { describeSelected(); });
    a.print = add(m_cases, report_texts::kPrintAction, QKeySequence::Print, [this] {
        if (const CaseSummary* chosen = selectedCase())
            printReport(this, caseReportJob({*chosen, m_swipes}));
    });
    a.pdf = add(m_cases, report_texts::kExportPdfAction, {}, [this] {
        if (const CaseSummary* chosen = selectedCase())
            exportReportPdf(this, caseReportJob({*chosen, m_swipes}));
    });
    a.exportCsv = add(m_cases, case_texts::kExportAction, {}, [this] { exportSelectedCsv(); });
    a.package = add(m_cases, report_texts::kPackageAction, {}, [this] { packageSelected(); });
    a.inspect = add(m_items, case_texts::kInspectAction, {}, [this] { inspectSelected(); });
    a.editNote = add(m_items, case_texts::kEditNoteAction, {}, [this] { editSelectedNote(); });
    a.remove =
        add(m_items, case_texts::kRemoveAction, QKeySequence::Delete, [this] { removeSelected(); });
    a.copy = add(m_items, action_texts::kCopy, QKeySequence::Copy, [this] { copySelected(); });
    addEscapeAction(this, [this] { close(); });
    m_cases->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_items->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CasesWindow::connectParts()
{
    connect(m_search, &QLineEdit::textChanged, this, &CasesWindow::showCases);
    connect(m_cases->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CasesWindow::showSwipes);
    connect(m_items, &QListView::activated, this, &CasesWindow::inspectSelected);
    connect(m_items->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CasesWindow::enableActions);
    connect(m_thumbnails, &ThumbnailLoader::loaded, m_itemModel, &ThumbnailListModel::setThumbnail);
    for (QComboBox* choice : {m_trailCase, m_trailOperator, m_trailAction})
        connect(choice, &QComboBox::currentIndexChanged, this, &CasesWindow::showTrail);
    connect(m_trailByDay, &QCheckBox::toggled, this, &CasesWindow::showTrail);
    connect(m_trailDay, &QDateEdit::dateChanged, this, &CasesWindow::showTrail);
    connect(&CaseDesk::instance(), &CaseDesk::changed, this, &CasesWindow::refresh);
}

void CasesWindow::refresh()
{
    showCases();
    fillTrailChoices();
    showTrail();
}

// The cases that hold the search text, the selected one kept selected.
void CasesWindow::showCases()
{
    CaseStore* store = CaseDesk::instance().store(this);
    const QString kept = selectedCase() ? selectedCase()->name : QString();
    m_summaries = store ? store->cases(m_search->text().trimmed()) : QList<CaseSummary>();
    const QSignalBlocker quiet(m_cases->selectionModel());
    m_caseModel->removeRows(0, m_caseModel->rowCount());
    int keptRow = 0;
    for (const CaseSummary& summary : std::as_const(m_summaries)) {
        if (summary.name == kept)
            keptRow = m_caseModel->rowCount();
        m_caseModel->appendRow(
            rowOf({summary.name, summary.closed ? case_texts::kClosedState : case_texts::kOpenState,
                   QString::number(summary.swipeCount), summary.madeBy, timeText(summary.madeAt),
                   summary.description}));
    }
    if (!m_summaries.isEmpty())
        m_cases->setCurrentIndex(m_caseModel->index(keptRow, 0));
    m_cases->resizeColumnsToContents();
    showSwipes();
}

void CasesWindow::showSwipes()
{
    const CaseSummary* chosen = selectedCase();
    CaseStore* store = chosen ? CaseDesk::instance().store(this) : nullptr;
    m_swipes = store ? store->swipesOf(chosen->name) : QList<CaseSwipe>();
    QStringList texts;
    QList<ThumbnailLoader::Job> jobs;
    for (const CaseSwipe& swipe : std::as_const(m_swipes)) {
        texts.append(swipe.note.isEmpty() ? swipeLine(swipe)
                                          : swipeLine(swipe) + u'\n' + swipe.note);
        jobs.append([swipe = swipeOfCase(swipe)] { return swipeThumbnail(swipe, kThumbnail); });
    }
    m_itemModel->setTexts(texts);
    m_thumbnails->load(std::move(jobs));
    if (!m_swipes.isEmpty())
        m_items->setCurrentIndex(m_itemModel->index(0));
    enableActions();
}

void CasesWindow::fillTrailChoices()
{
    CaseStore* store = CaseDesk::instance().store(this);
    if (!store)
        return;
    QList<std::pair<QString, QString>> cases;
    for (const CaseSummary& summary : store->cases())
        cases.append({summary.name, summary.name});
    fillChoice(m_trailCase, cases);
    QList<std::pair<QString, QString>> operators;
    for (const QString& user : store->trailOperators())
        operators.append({user, user});
    fillChoice(m_trailOperator, operators);
    QList<std::pair<QString, QString>> actions;
    for (const trail::ActionText& known : trail::actionTexts())
        actions.append({known.text, known.action});
    fillChoice(m_trailAction, actions);
}

void CasesWindow::showTrail()
{
    CaseStore* store = CaseDesk::instance().store(this);
    m_trailDay->setEnabled(m_trailByDay->isChecked());
    m_trailModel->removeRows(0, m_trailModel->rowCount());
    if (!store)
        return;
    TrailFilter filter{m_trailCase->currentData().toString(),
                       m_trailOperator->currentData().toString(),
                       m_trailAction->currentData().toString(), std::nullopt};
    if (m_trailByDay->isChecked())
        filter.day = m_trailDay->date();
    for (const TrailEntry& entry : store->trail(filter)) {
        m_trailModel->appendRow(
            rowOf({entry.time.toString(Qt::ISODate), entry.user, entry.machine,
                   trail::actionText(entry.action), entry.caseName, entry.details}));
    }
    m_trail->resizeColumnsToContents();
}

void CasesWindow::packageSelected()
{
    const CaseSummary* chosen = selectedCase();
    if (!chosen || m_swipes.isEmpty())
        return;
    exportEvidencePackage(this,
                          {casePackageRequest(*chosen, m_swipes), casePackageName(chosen->name)});
}

void CasesWindow::enableActions()
{
    const CaseSummary* chosen = selectedCase();
    const bool swipe = selectedSwipe() != nullptr;
    m_actions.close->setEnabled(chosen && !chosen->closed);
    m_actions.reopen->setEnabled(chosen && chosen->closed);
    m_actions.describe->setEnabled(chosen);
    m_actions.print->setEnabled(chosen);
    m_actions.pdf->setEnabled(chosen);
    m_actions.exportCsv->setEnabled(chosen);
    m_actions.package->setEnabled(chosen && !m_swipes.isEmpty());
    m_actions.inspect->setEnabled(swipe);
    m_actions.editNote->setEnabled(swipe);
    m_actions.remove->setEnabled(swipe);
    m_actions.copy->setEnabled(swipe);
}

const CaseSummary* CasesWindow::selectedCase() const
{
    const int row = m_cases->currentIndex().row();
    return row >= 0 && row < m_summaries.size() ? &m_summaries[row] : nullptr;
}

const CaseSwipe* CasesWindow::selectedSwipe() const
{
    const int row = m_items->currentIndex().row();
    return row >= 0 && row < m_swipes.size() ? &m_swipes[row] : nullptr;
}

void CasesWindow::inspectSelected()
{
    if (const CaseSwipe* swipe = selectedSwipe())
        emit inspectRequested(swipeOfCase(*swipe));
}

void CasesWindow::setSelectedClosed(bool closed)
{
    const CaseSummary* chosen = selectedCase();
    CaseStore* store = CaseDesk::instance().store(this);
    if (!chosen || !store)
        return;
    if (!store->setClosed(chosen->name, closed))
        showMessage(this, store->errorText());
    CaseDesk::instance().announceChange();
}

void CasesWindow::describeSelected()
{
    const CaseSummary* chosen = selectedCase();
    CaseStore* store = CaseDesk::instance().store(this);
    if (!chosen || !store)
        return;
    bool ok = false;
    const QString text = QInputDialog::getMultiLineText(
        this, case_texts::kWindowTitle, case_texts::kDescriptionHeading, chosen->description, &ok);
    if (!ok)
        return;
    if (!store->setDescription(chosen->name, text.trimmed()))
        showMessage(this, store->errorText());
    CaseDesk::instance().announceChange();
}

void CasesWindow::editSelectedNote()
{
    const CaseSwipe* swipe = selectedSwipe();
    CaseStore* store = CaseDesk::instance().store(this);
    if (!swipe || !store)
        return;
    bool ok = false;
    const QString note = QInputDialog::getMultiLineText(this, case_texts::kWindowTitle,
                                                        swipeLine(*swipe), swipe->note, &ok);
    if (!ok)
        return;
    if (!store->editNote(swipe->id, note.trimmed()))
        showMessage(this, store->errorText());
    CaseDesk::instance().announceChange();
}

void CasesWindow::removeSelected()
{
    const CaseSwipe* swipe = selectedSwipe();
    const CaseSummary* chosen = selectedCase();
    CaseStore* store = CaseDesk::instance().store(this);
    if (!swipe || !chosen || !store ||
        !askYesNo(this, case_texts::kRemoveQuestion.arg(chosen->name)))
        return;
    if (!store->removeSwipe(swipe->id))
        showMessage(this, store->errorText());
    CaseDesk::instance().announceChange();
}

void CasesWindow::copySelected()
{
    const CaseSwipe* swipe = selectedSwipe();
    if (!swipe)
        return;
    QApplication::clipboard()->setText(caseCopyLine(*swipe));
    if (const CaseSummary* chosen = selectedCase())
        CaseDesk::instance().record(this, trail::kCopied, caseCopyLine(*swipe), chosen->name);
}

void CasesWindow::exportSelectedCsv()
{
    const CaseSummary* chosen = selectedCase();
    if (!chosen)
        return;
    const CaseReportRequest request{*chosen, m_swipes};
    const QStringList places = caseReportJob(request).protectedPlaces;
    const QString target = saveAskingAgain(
        this,
        {export_texts::kExportDialogTitle, caseFileName(chosen->name, QStringLiteral("csv")),
         export_texts::kExportFilter, export_texts::kCsvExtension, places},
        [&](const QString& file) {
            return writeFileSafely(file, places, [&request](QIODevice& device) {
                return writeCaseCsv(request.swipes, device);
            });
        });
    if (target.isEmpty())
        return;
    const QString exported =
        export_texts::kExported.arg(m_swipes.size()).arg(QDir::toNativeSeparators(target));
    showPassingMessage(this, exported);
    CaseDesk::instance().record(this, trail::kExported, exported, chosen->name);
}

} // namespace card
