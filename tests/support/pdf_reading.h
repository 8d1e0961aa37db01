// Reading the product's PDF files back with poppler's tools, as a reader of the file would.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace card::test {

// What a poppler tool prints for arguments.
inline QString popplerOutput(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of page, or of every page when page is 0, as pdftotext finds it.
inline QString pdfText(const QString& pdf, int page = 0)
{
    QStringList arguments{pdf, QStringLiteral("-")};
    if (page > 0)
        arguments =
            QStringList{"-f", QString::number(page), "-l", QString::number(page)} + arguments;
    return popplerOutput(QStringLiteral("pdftotext"), arguments);
}

inline int pdfPageCount(const QString& pdf)
{
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    return pages.match(popplerOutput(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

// The rows of a table that pdffonts or pdfimages -list prints, without its two heading lines.
inline QStringList popplerRows(const QString& tool, const QStringList& arguments)
{
    return popplerOutput(tool, arguments).split(u'\n', Qt::SkipEmptyParts).mid(2);
}

} // namespace card::test
