// What a list or table shows, as text, for comparing in tests.
#pragma once

#include <QAbstractItemModel>
#include <QStringList>

namespace card::test {

// The display text of column in every row from from on.
inline QStringList columnTexts(const QAbstractItemModel& model, int column = 0, int from = 0)
{
    QStringList texts;
    for (int row = from; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

} // namespace card::test
