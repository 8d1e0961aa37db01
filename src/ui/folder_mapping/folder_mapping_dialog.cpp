#include "ui/folder_mapping/folder_mapping_dialog.h"

#include "core/platform/product.h"
#include "core/platform/saved_mappings.h"
#include "core/platform/share_mounts.h"
#include "ui/common/accessible_names.h"
#include "ui/common/action_texts.h"
#include "ui/common/folder_mapping_texts.h"
#include "ui/common/message_box.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace card {

using namespace mapping_texts;

FolderMappingDialog::FolderMappingDialog(QWidget* parent, const FolderMapping& shown,
                                         bool windowsFolderFixed)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("folder_mapping"));
    setWindowTitle(kProductTitle + QStringLiteral(" - ") + kQuestionTitle);
    buildParts(shown, windowsFolderFixed);
    describeControlsByName(this);
}

void FolderMappingDialog::buildParts(const FolderMapping& shown, bool windowsFolderFixed)
{
    m_question = new QLabel(kQuestion.arg(shown.windowsFolder), this);
    m_question->setObjectName(QStringLiteral("folder_mapping_question"));
    m_question->setWordWrap(true);
    m_question->setTextFormat(Qt::PlainText);
    m_question->setVisible(windowsFolderFixed);

    m_windows = new QLineEdit(shown.windowsFolder, this);
    m_windows->setObjectName(QStringLiteral("folder_mapping_windows"));
    m_windows->setReadOnly(windowsFolderFixed);

    // The mounted shares are offered; any other folder is typed or browsed for.
    m_local = new QComboBox(this);
    m_local->setObjectName(QStringLiteral("folder_mapping_local"));
    m_local->setEditable(true);
    m_local->setInsertPolicy(QComboBox::NoInsert);
    m_local->setMinimumContentsLength(40);
    for (const FolderMapping& share : mountedShares())
        m_local->addItem(share.localFolder + QStringLiteral("  ←  ") + share.windowsFolder,
                         share.localFolder);
    m_local->setEditText(shown.localFolder);
    m_local->setToolTip(kMountedSharesLabel);
    connect(m_local, &QComboBox::activated, this,
            [this](int index) { m_local->setEditText(m_local->itemData(index).toString()); });

    auto* browse = new QPushButton(kBrowse, this);
    browse->setObjectName(QStringLiteral("folder_mapping_browse"));
    connect(browse, &QPushButton::clicked, this, &FolderMappingDialog::browse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("folder_mapping_buttons"));
    buttons->button(QDialogButtonBox::Ok)->setText(kOk);
    buttons->button(QDialogButtonBox::Cancel)->setText(action_texts::kCancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* localRow = new QHBoxLayout;
    localRow->addWidget(m_local, 1);
    localRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(kWindowsFolderLabel, m_windows);
    form->addRow(kLocalFolderLabel, localRow);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_question);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void FolderMappingDialog::browse()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, kQuestionTitle, m_local->currentText(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (!chosen.isEmpty())
        m_local->setEditText(chosen);
}

FolderMapping FolderMappingDialog::mapping() const
{
    return {m_windows->text().trimmed(), m_local->currentText().trimmed(), MappingSource::Saved};
}

void FolderMappingDialog::accept()
{
    const FolderMapping typed = mapping();
    if (!isWindowsFolder(typed.windowsFolder)) {
        showMessage(this, kNotWindowsFolder);
        return;
    }
    if (typed.localFolder.isEmpty())
        return;
    QDialog::accept();
}

void FolderMappingDialog::askForUnmapped(QWidget* parent, const QStringList& folders)
{
    for (const QString& folder : folders) {
        FolderMappingDialog dialog(parent, {folder, {}, MappingSource::Saved}, true);
        if (dialog.exec() != QDialog::Accepted)
            return;
        const FolderMapping answer = dialog.mapping();
        saveMapping(answer.windowsFolder, answer.localFolder);
    }
}

} // namespace card
