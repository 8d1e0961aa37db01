// What the evidence package says, in the package and about it.
#pragma once

#include <QByteArray>
#include <QString>

namespace card::evidence_texts {

inline const QString kCannotRead = QStringLiteral("無法完整讀取");
inline const QString kChangedWhileRead = QStringLiteral("讀取時檔案大小改變");

// The trail's line of a package written: where, and the SHA-256 of the whole ZIP file.
inline QString packagedLine(const QString& path, const QByteArray& sha256)
{
    return path + QStringLiteral("（SHA-256 ") + QString::fromLatin1(sha256) + u'）';
}

// Where a case's package came from, for people.
inline QString caseOrigin(const QString& caseName)
{
    return QStringLiteral("案件：") + caseName;
}

// --verify's lines.
inline const QString kIntact = QStringLiteral("完整");
inline const QString kChanged = QStringLiteral("已變更：%1");
inline const QString kMissing = QStringLiteral("缺少：%1");
inline const QString kAdded = QStringLiteral("多出：%1");
inline const QString kNotPackage = QStringLiteral("不是證據包：%1");

// README.txt of every package: what it is and the two ways to check it, Chinese then English.
inline QByteArray readmeText()
{
    return QStringLiteral(
               "刷卡影像證據包\n"
               "==============\n\n"
               "本證據包內含門禁刷卡的原始檔案，未經任何修改或重新編碼：\n"
               "  photos/   刷卡當時拍攝的影像檔，與站台上的檔案逐位元組相同\n"
               "  records/  "
               "當日紀錄檔中該卡的紀錄行（原始位元組與編碼），以及（若有選取）整個紀錄檔\n"
               "  report.pdf     證據報表：每個檔案的名稱、大小與 "
               "SHA-256，站台、紀錄檔、製作者與時間\n"
               "  manifest.json  同樣的資料，供程式讀取\n"
               "  manifest.sha256  其他每個檔案的 SHA-256\n\n"
               "檢查方式（任選其一）：\n"
               "  1. 解壓縮後，在解壓縮的資料夾中執行：sha256sum -c manifest.sha256\n"
               "     每一行都應顯示「OK」。\n"
               "  2. card_image --verify 證據包.zip\n"
               "     顯示「完整」表示所有檔案均未變更。\n\n"
               "Card-swipe evidence package\n"
               "===========================\n\n"
               "This package holds the original files of card swipes, unchanged and not "
               "re-encoded:\n"
               "  photos/   the photos taken at each swipe, byte for byte as on the site\n"
               "  records/  the card's record lines of each day file (original bytes and "
               "encoding) and, when chosen, the whole day file\n"
               "  report.pdf     the evidence report: every file's name, size and SHA-256, the "
               "site, the day files, who made the package and when\n"
               "  manifest.json  the same facts, machine-readable\n"
               "  manifest.sha256  the SHA-256 of every other file\n\n"
               "To check it (either way):\n"
               "  1. Unpack it and, in the unpacked folder, run: sha256sum -c manifest.sha256\n"
               "     Every line should say OK.\n"
               "  2. card_image --verify PACKAGE.zip\n"
               "     It prints 完整 (intact) when no file has changed.\n")
        .toUtf8();
}

} // namespace card::evidence_texts
