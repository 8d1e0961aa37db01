#include "ui/file_select/folder_item_delegate.h"

#include "core/dialog/folder_list_model.h"

#include <QApplication>
#include <QStyle>

namespace card {

namespace {

constexpr int kIndentPixels = 10;

int indent(const QModelIndex& index)
{
    return kIndentPixels * index.data(FolderListModel::DepthRole).toInt();
}

} // namespace

void FolderItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    QStyleOptionViewItem indented = option;
    indented.rect.setLeft(option.rect.left() + indent(index));
    QStyledItemDelegate::paint(painter, indented, index);
}

QSize FolderItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
}

void FolderItemDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QStyle* style = option->widget ? option->widget->style() : QApplication::style();
    const bool onChain = index.data(FolderListModel::OnChainRole).toBool();
    option->icon = style->standardIcon(onChain ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
    option->features |= QStyleOptionViewItem::HasDecoration;
}

} // namespace card
