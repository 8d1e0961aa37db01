// Every text the reports show: titles, labels, the page furniture and the messages around them.
#pragma once

#include "core/records/day_file_words.h"
#include "core/text/day_text.h"
#include "ui/common/swipe_texts.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace card::report_texts {

// Fonts that hold Traditional Chinese, the first one present wins.
inline const QStringList kFontFamilies{QStringLiteral("AR PL UMing TW"),
                                       QStringLiteral("Noto Sans CJK TC"),
                                       QStringLiteral("Noto Serif CJK TC")};

inline const QString kFieldSeparator = QStringLiteral("：");

inline QString pageNumber(int number, int count)
{
    return QStringLiteral("第 %1 頁，共 %2 頁").arg(number).arg(count);
}
// The foot of every page: when, by whom and where the report was made.
inline QString stampLine(const QDateTime& made, const QString& user, const QString& machine)
{
    return QStringLiteral("製表時間 %1　製表者 %2　電腦 %3").arg(momentText(made), user, machine);
}
// The subject repeated at the head of a continuation page.
inline QString continuedSubject(const QString& subject)
{
    return subject + QStringLiteral("（續）");
}

// The reports' titles.
inline const QString kSwipeTitle = QStringLiteral("刷卡影像證據單");
// The sheet made while the picture was adjusted for viewing, with the settings.
inline const QString kAdjustedSwipeTitle = QStringLiteral("刷卡影像證據單（含調整後影像：%1）");
inline const QString kDayListTitle = QStringLiteral("刷卡紀錄清單");
inline const QString kHistoryTitle = QStringLiteral("卡片刷卡歷程");

// Field labels.
inline const QString kParameterFileLabel = QStringLiteral("參數檔");
inline const QString kRecordsFolderLabel = QStringLiteral("紀錄資料夾");
inline const QString kDateLabel = QString::fromUtf16(kDateHeading);
inline const QString kTimeLabel = QString::fromUtf16(kTimeHeading);
inline const QString kCardLabel = QString::fromUtf16(kCardHeading);
inline const QString kNameLabel = QString::fromUtf16(kNameHeading);
inline const QString kDirectionLabel = QString::fromUtf16(kDirectionHeading);
inline const QString kRowCountLabel = QStringLiteral("筆數");
inline const QString kRangeLabel = QStringLiteral("期間");
inline const QString kAllCards = QStringLiteral("全部");

// Parts of the swipe's sheet.
inline const QString kStillPhoto = QStringLiteral("影像");
inline QString frameCaption(int frame)
{
    return QStringLiteral("第 %1 格").arg(frame);
}
// Under the adjusted copy of a photo: the photo's caption, then the settings.
inline const QString kAdjustedPhoto = QStringLiteral("%1，調整後（僅供檢視，原檔未變更）：%2");
inline const QString kCardDayHeading = QStringLiteral("本卡當日其他刷卡");
inline const QString kNoOtherSwipes = QStringLiteral("（無）");

// Parts of a card's history.
inline const QString kNameSearchLabel = QStringLiteral("姓名（部分）");
inline const QString kDaysWithoutFileLabel = QStringLiteral("無紀錄檔日數");
inline QString rangeText(const QString& first, const QString& last, int days)
{
    return QStringLiteral("%1 至 %2（%3 天）").arg(first, last).arg(days);
}
inline const QString kDayTableHeading = QStringLiteral("每日摘要");
inline const QString kFirstInLabel = QString::fromUtf16(kFirstInHeading);
inline const QString kLastOutLabel = QString::fromUtf16(kLastOutHeading);
inline const QString kCountLabel = QStringLiteral("次數");
inline const QString kSpanLabel = QString::fromUtf16(kSpanHeading);
inline const QString kFileLabel = QStringLiteral("紀錄檔");
inline const QString kFileUnreadable = QStringLiteral("無法讀取");
inline const QString kHourMapHeading = QStringLiteral("每小時刷卡次數");
// A run of days without swipes in the hour map, from its newest day (in the date column) down
// to oldest; withoutFile of them had no readable file.
inline QString daysWithoutSwipes(const QString& oldest, int days, int withoutFile)
{
    const QString what =
        withoutFile == days ? day_file_words::kNoDayFile : QStringLiteral("無刷卡");
    if (days == 1)
        return what;
    const QString some = withoutFile == days || withoutFile == 0
                             ? QString()
                             : QStringLiteral("，其中無紀錄檔 %1 天").arg(withoutFile);
    return QStringLiteral("至 %1　%2（%3 天%4）").arg(oldest, what).arg(days).arg(some);
}
inline const QString kPicturesHeading = QStringLiteral("各次刷卡影像");

// Parts of the exceptions' report.
inline const QString kExceptionsTitle = QStringLiteral("異常刷卡報表");
inline const QString kExceptionLabel = QStringLiteral("異常");
inline const QString kExceptionPicturesHeading = QStringLiteral("各筆異常影像");
inline const QString kJudgedAgainst = QStringLiteral("比對：");
// Parts of the roll call of the people inside.
inline const QString kRollCallTitle = QStringLiteral("在場人員點名表");
inline const QString kRollCallTimeLabel = QStringLiteral("點名時間");
inline const QString kPresentCountLabel = QStringLiteral("在場人數");
inline const QString kPictureLabel = QStringLiteral("照片");
inline const QString kEnteredLabel = QStringLiteral("進入時間");
inline const QString kSafeLabel = QStringLiteral("已確認安全");

// The entry points and their dialogs.
inline const QString kPrintAction = QStringLiteral("列印…");
// The command line's case report names a case the store does not have.
inline const QString kNoSuchCase = QStringLiteral("沒有這個案件：");
inline const QString kEmptyCase = QStringLiteral("案件中沒有刷卡：");
inline const QString kPrintListAction = QStringLiteral("列印清單…");
inline const QString kExportPdfAction = QStringLiteral("匯出 PDF…");
inline const QString kWithPicturesAction = QStringLiteral("含影像");
inline const QString kPdfDialogTitle = QStringLiteral("匯出 PDF");
inline const QString kPdfFilter = QStringLiteral("PDF 文件 (*.pdf)");
inline const QString kPdfExtension = QStringLiteral("pdf");
inline const QString kReportSaved = QStringLiteral("報表已儲存：%1");
inline const QString kPreparing = QStringLiteral("正在製作報表…");
inline QString tooManyPages(int pages)
{
    return QStringLiteral("這份報表共 %1 頁，仍要製作嗎？").arg(pages);
}

// Why the command line wrote no report; each is followed by the file concerned.
inline const QString kParameterFileUnreadable = QStringLiteral("參數檔無法讀取或不正確");

// The evidence package's report.
inline const QString kPackageTitle = QStringLiteral("證據包報表");
inline const QString kSiteCaptionLabel = QStringLiteral("站台標題");
inline const QString kOperatorLabel = QStringLiteral("製作者");
inline const QString kMachineLabel = QStringLiteral("電腦");
inline const QString kProgramLabel = QStringLiteral("程式");
inline const QString kPackageMadeLabel = QStringLiteral("製作時間");
inline const QString kOriginLabel = QStringLiteral("來源");
inline const QString kCaseLabel = QStringLiteral("案件");
inline const QString kNoteLabel = QStringLiteral("附註");
inline const QString kDayFilesHeading = QStringLiteral("紀錄檔（讀取時）");
inline const QString kPackedFilesHeading = QStringLiteral("證據包內的檔案");
inline const QString kUnreadableLabel = QStringLiteral("無法讀取，未收入");
inline const QString kFileSizeLabel = QStringLiteral("大小");
inline const QString kModifiedLabel = QStringLiteral("修改時間");
inline const QString kSha256Label = QStringLiteral("SHA-256");
inline QString sizeText(qint64 size)
{
    return QStringLiteral("%1 位元組").arg(size);
}
inline const QString kPackageAction = QStringLiteral("匯出證據包…");
inline const QString kPackageDialogTitle = QStringLiteral("匯出證據包");
inline const QString kPackageCardDay = QStringLiteral("含本卡當日其他刷卡");
inline const QString kPackageDayFiles = QStringLiteral("含整個紀錄檔");
inline const QString kZipFilter = QStringLiteral("ZIP 壓縮檔 (*.zip)");
inline const QString kZipExtension = QStringLiteral("zip");
inline const QString kPackagePreparing = QStringLiteral("正在製作證據包…");
inline const QString kPackageSaved = QStringLiteral("證據包已儲存：%1");
inline QString packWithoutPhoto(const QString& failure)
{
    return failure + QStringLiteral("\n仍要製作證據包，並在報表與清單中註明此檔無法讀取嗎？");
}
inline const QString kPackageRefused = QStringLiteral("證據包不可存入站台的資料夾");
inline const QString kPhotoUnreadable = QStringLiteral("影像檔無法完整讀取");
inline const QString kPackageNotWritten = QStringLiteral("無法建立證據包");
inline const QString kPackageCancelled = QStringLiteral("已取消證據包");
inline QString noSwipesOfCard(const QString& card, QDate day)
{
    return QStringLiteral("卡號 %1 於 %2 無刷卡").arg(card, day.toString(Qt::ISODate));
}
// Where a package's swipes came from: the card, its day and, for one swipe, its time.
inline QString cardDayOrigin(const QString& card, QDate day, const std::optional<QString>& time)
{
    QString origin = QStringLiteral("卡號 %1，%2").arg(card, day.toString(Qt::ISODate));
    if (time)
        origin += u' ' + *time;
    return origin;
}
// Where a package of the card history's day came from: the searched card or name and the day.
inline QString historyDayOrigin(const QString& searched, QDate day)
{
    return QStringLiteral("本卡歷史「%1」，%2").arg(searched, day.toString(Qt::ISODate));
}

} // namespace card::report_texts
