#include "ui/folder_mapping/folder_mapping_editor.h"

#include "core/platform/product.h"
#include "core/platform/saved_mappings.h"
#include "core/platform/share_mounts.h"
#include "core/platform/site_folders.h"
#include "ui/common/accessible_names.h"
#include "ui/common/folder_mapping_texts.h"
#include "ui/folder_mapping/folder_mapping_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace card {

using namespace mapping_texts;

namespace {

// Where one of the site's folders is read, for the editor's heading.
QString folderReadLine(const QString& line, const QString& folder)
{
    const bool unmapped = !unmappedWindowsFolders({folder}).isEmpty();
    return line.arg(folder, unmapped ? folder + kNotMapped : localFolder(folder));
}

} // namespace

FolderMappingEditor::FolderMappingEditor(QWidget* parent, const QString& recordsFolder,
                                         const QString& photoFolder)
    : QDialog(parent)
    , m_recordsFolder(recordsFolder)
    , m_photoFolder(photoFolder)
{
    setObjectName(QStringLiteral("folder_mappings"));
    setWindowTitle(kProductTitle + QStringLiteral(" - ") + kEditorTitle);
    // Shares mounted since the start are listed too.
    useMountedShares();
    buildParts();
    connectParts();
    showMappings();
    describeControlsByName(this);
}

void FolderMappingEditor::buildParts()
{
    m_site = new QLabel(this);
    m_site->setObjectName(QStringLiteral("folder_mappings_site"));
    m_site->setTextFormat(Qt::PlainText);
    m_site->setWordWrap(true);
    m_model = new QStandardItemModel(0, 3, this);
    m_model->setHorizontalHeaderLabels({kWindowsColumn, kLocalColumn, kSourceColumn});
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("folder_mappings_list"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setMinimumWidth(640);

    const auto button = [this](const QString& text, const char* name) {
        auto* made = new QPushButton(text, this);
        made->setObjectName(QString::fromLatin1(name));
        return made;
    };
    m_add = button(kAdd, "folder_mappings_add");
    m_change = button(kChange, "folder_mappings_change");
    m_remove = button(kRemove, "folder_mappings_remove");
    m_close = button(kClose, "folder_mappings_close");

    auto* buttons = new QHBoxLayout;
    for (QPushButton* each : {m_add, m_change, m_remove})
        buttons->addWidget(each);
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_site);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
}

void FolderMappingEditor::connectParts()
{
    connect(m_add, &QPushButton::clicked, this, &FolderMappingEditor::addMapping);
    connect(m_change, &QPushButton::clicked, this, &FolderMappingEditor::changeMapping);
    connect(m_remove, &QPushButton::clicked, this, &FolderMappingEditor::removeMapping);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &FolderMappingEditor::changeMapping);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &FolderMappingEditor::enableButtons);
}

void FolderMappingEditor::showMappings()
{
    m_model->removeRows(0, m_model->rowCount());
    for (const FolderMapping& mapping : folderMappings()) {
        auto* source = new QStandardItem(sourceText(mapping.source));
        source->setData(int(mapping.source));
        m_model->appendRow({new QStandardItem(mapping.windowsFolder),
                            new QStandardItem(mapping.localFolder), source});
    }
    m_list->resizeColumnsToContents();
    showSiteFolders();
    enableButtons();
}

void FolderMappingEditor::showSiteFolders()
{
    if (m_recordsFolder.isEmpty() && m_photoFolder.isEmpty()) {
        m_site->setText(kNoParameterFile);
        return;
    }
    m_site->setText(folderReadLine(kRecordsFolderRead, m_recordsFolder) + u'\n' +
                    folderReadLine(kPhotoFolderRead, m_photoFolder));
}

// The operator's own mappings are the only ones changed here: the command line's and the
// mounts' are listed so the operator sees what is in use.
int FolderMappingEditor::savedIndexOfCurrentRow() const
{
    const int row = m_list->currentIndex().row();
    if (row < 0 || m_model->item(row, 2)->data().toInt() != int(MappingSource::Saved))
        return -1;
    int index = 0;
    for (int before = 0; before < row; ++before)
        index += m_model->item(before, 2)->data().toInt() == int(MappingSource::Saved) ? 1 : 0;
    return index;
}

void FolderMappingEditor::enableButtons()
{
    const bool own = savedIndexOfCurrentRow() >= 0;
    m_change->setEnabled(own);
    m_remove->setEnabled(own);
}

void FolderMappingEditor::addMapping()
{
    FolderMappingDialog dialog(this, {{}, {}, MappingSource::Saved}, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    saveMapping(dialog.mapping().windowsFolder, dialog.mapping().localFolder);
    showMappings();
}

void FolderMappingEditor::changeMapping()
{
    const int index = savedIndexOfCurrentRow();
    if (index < 0)
        return;
    QList<FolderMapping> saved = readSavedMappings();
    FolderMappingDialog dialog(this, saved.value(index), false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    saved[index] = dialog.mapping();
    saveMappings(saved);
    showMappings();
}

void FolderMappingEditor::removeMapping()
{
    const int index = savedIndexOfCurrentRow();
    if (index < 0)
        return;
    QList<FolderMapping> saved = readSavedMappings();
    saved.removeAt(index);
    saveMappings(saved);
    showMappings();
}

} // namespace card
