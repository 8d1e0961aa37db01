// Taking results out of a window: the listed rows as a CSV file, the shown photo as a file of
// its own, one row as a copy line. Each asks where through askSaveTarget, writes the safe way
// (never over the site's own folders and files), says what failed and where, and confirms a
// written file in a passing message.
#pragma once

#include "core/platform/safe_write.h"
#include "core/records/exception_rules.h"
#include "core/records/record_table.h"
#include "core/records/swipe.h"
#include "ui/common/save_dialog.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace card {

// Asks where to save with question and writes there with write under the busy cursor; a failed
// write is said and the dialog opens again with the same name. The written target, or empty
// when the operator cancels.
QString saveAskingAgain(QWidget* parent, SaveQuestion question,
                        const std::function<SafeWriteResult(const QString& target)>& write);

// Asks where to save the CSV file of every row of table, the records of day (proposing
// 刷卡紀錄-<day>.csv in the proposed save folder), and writes it. True when a file was written;
// false on Cancel or failure (failures are shown in a message box).
bool exportListedRows(QWidget* parent, const RecordTable& table, QDate day,
                      const QStringList& protectedPlaces);

// Asks where to save the CSV file of swipes (proposing fileName in the proposed save folder) and
// writes it; as exportListedRows otherwise.
bool exportSwipes(QWidget* parent, const QList<Swipe>& swipes, const QString& fileName,
                  const QStringList& protectedPlaces);

// Asks where to save the CSV file of exception hits (proposing fileName in the proposed
// save folder) and writes it; as exportListedRows otherwise.
bool exportExceptions(QWidget* parent, const QList<ExceptionHit>& hits, const QString& fileName,
                      const QStringList& protectedPlaces);

// Asks where to save a CSV file of rowCount rows (proposing fileName in the proposed save folder),
// writes it with write and confirms it; as exportListedRows otherwise.
bool exportCsv(QWidget* parent, const QString& fileName, const QStringList& protectedPlaces,
               qsizetype rowCount,
               const std::function<SafeWriteResult(const QString& target)>& write);
// Asks where to save a copy of the photo file (proposing its own name in the proposed save folder)
// and copies its bytes unchanged. The photo is a site file, which may lie on a share that stops
// answering: the copy runs on the site pool and returns at once; when it ends, a failure is shown
// and done (if given) is called with whether a file was written. Nothing is reported once parent
// is gone. Cancel calls done(false) at once.
void saveShownPhoto(QWidget* parent, const QString& photoPath, const QStringList& protectedPlaces,
                    const std::function<void(bool written)>& done = {});

// Puts the copy line of row (its day, then its four values, tab-separated) on the clipboard.
void copyRowToClipboard(const RecordTable& table, QDate day, qsizetype row);

// The message for a failed or refused write; empty for success.
QString safeWriteMessage(const SafeWriteResult& result);

// Shows safeWriteMessage(result) when the write did not succeed; returns result.ok().
bool reportSafeWrite(QWidget* parent, const SafeWriteResult& result);

// A short confirmation that passes by itself, at the foot of window.
void showPassingMessage(QWidget* window, const QString& text);

} // namespace card
