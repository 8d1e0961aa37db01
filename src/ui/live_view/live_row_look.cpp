#include "ui/live_view/live_row_look.h"

#include "core/records/live_rows.h"
#include "ui/common/swipe_texts.h"
#include "ui/live_view/live_view_texts.h"

#include <QColor>
#include <QDate>
#include <QLocale>

namespace card {

namespace {

const QColor kFreshBackground(255, 236, 140);
const QColor kSeparatorBackground(214, 220, 228);

} // namespace

QVariant LiveRowLook::data(const QModelIndex& index, int role) const
{
    const QDate separator = QIdentityProxyModel::data(index, LiveRowModel::SeparatorRole).toDate();
    if (role == Qt::BackgroundRole) {
        if (separator.isValid())
            return kSeparatorBackground;
        if (QIdentityProxyModel::data(index, LiveRowModel::FreshRole).toBool())
            return kFreshBackground;
        return {};
    }
    if (separator.isValid() && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return index.column() == 0 ? live_view_texts::kDayChange.arg(
                                         QLocale().toString(separator, QLocale::ShortFormat))
                                   : QString();
    return QIdentityProxyModel::data(index, role);
}

QVariant LiveRowLook::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QIdentityProxyModel::headerData(section, orientation, role);
    const char16_t* const headings[] = {kTimeHeading, kCardHeading, kNameHeading,
                                        kDirectionHeading};
    return section >= 0 && section < 4 ? QString::fromUtf16(headings[section]) : QVariant();
}

} // namespace card
