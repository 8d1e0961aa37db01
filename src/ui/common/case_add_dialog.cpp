#include "ui/common/case_add_dialog.h"

#include "core/cases/case_store.h"
#include "core/dialog/load_command.h"
#include "core/photos/swipe_photos.h"
#include "core/platform/file_exists.h"
#include "core/platform/site_io_task.h"
#include "ui/common/accessible_names.h"
#include "ui/common/action_texts.h"
#include "ui/common/case_desk.h"
#include "ui/common/case_texts.h"
#include "ui/common/message_box.h"
#include "ui/common/results_export.h"
#include "ui/common/window_caption.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace card {

namespace {

CaseSwipe caseSwipeOf(const Swipe& swipe, const SwipePhotos& found)
{
    CaseSwipe entry;
    entry.sitePath = swipe.parameterFile;
    entry.siteCaption =
        swipe.parameterFile.isEmpty() ? QString() : loadedCaption(swipe.parameterFile);
    entry.recordsFolder = swipe.recordsFolder;
    entry.photoFolder = swipe.photoFolder;
    entry.day = swipe.day;
    entry.time = swipe.time;
    entry.card = swipe.card;
    entry.name = swipe.name;
    entry.direction = swipe.direction;
    for (const FramePhoto& photo : found.frames)
        entry.photos.append(photo.path);
    return entry;
}

} // namespace

CaseAddDialog::CaseAddDialog(QWidget* parent, const QStringList& openCases)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("case_add"));
    setCaption(this, case_texts::kAddTitle);
    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("case_add_name"));
    m_name->setEditable(true);
    m_name->addItems(openCases);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("case_add_note"));
    m_note->setTabChangesFocus(true);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(case_texts::kOk, QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("case_add_ok"));
    ok->setDefault(true);
    buttons->addButton(action_texts::kCancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A case needs a name.
    const auto enableOk = [this, ok] {
        ok->setEnabled(!caseName().isEmpty());
    };
    connect(m_name, &QComboBox::editTextChanged, this, enableOk);
    enableOk();
    auto* form = new QFormLayout(this);
    form->addRow(case_texts::kCaseLabel, m_name);
    form->addRow(case_texts::kNoteLabel, m_note);
    form->addRow(buttons);
    describeControlsByName(this);
    resize(420, 260);
}

QString CaseAddDialog::caseName() const
{
    return m_name->currentText().trimmed();
}

QString CaseAddDialog::note() const
{
    return m_note->toPlainText().trimmed();
}

void addSwipeToCase(QWidget* parent, const Swipe& swipe)
{
    CaseStore* store = CaseDesk::instance().store(parent);
    if (!store)
        return;
    CaseAddDialog dialog(parent, store->openCaseNames());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString caseName = dialog.caseName();
    const QString note = dialog.note();
    const QPointer<QWidget> window = parent;
    runOnSiteIo(
        parent,
        [swipe] {
            return findSwipePhotos(swipe.photoFolder, swipe.card, swipe.day, swipe.time,
                                   fileExists);
        },
        [window, swipe, caseName, note](const SwipePhotos& found) {
            CaseStore* cases = CaseDesk::instance().store(window);
            if (!cases)
                return;
            CaseSwipe entry = caseSwipeOf(swipe, found);
            entry.note = note;
            if (!cases->addSwipe(caseName, entry)) {
                showMessage(window, cases->errorText());
                return;
            }
            CaseDesk::instance().announceChange();
            showPassingMessage(window->window(), case_texts::kAdded.arg(caseName));
        });
}

QAction* addCaseAction(QWidget* view, const std::function<std::optional<Swipe>()>& chosen)
{
    auto* action = new QAction(case_texts::kAddAction, view);
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    // A window's own action works wherever the focus is in it; a list's only in the list.
    action->setShortcutContext(view->isWindow() ? Qt::WindowShortcut
                                                : Qt::WidgetWithChildrenShortcut);
    QObject::connect(action, &QAction::triggered, view, [view, chosen] {
        if (const std::optional<Swipe> swipe = chosen())
            addSwipeToCase(view, *swipe);
    });
    view->addAction(action);
    return action;
}

} // namespace card
