// Printing and exporting a report from a window. The report is made off the interface thread
// (reading and decoding the site's files may take long), with a progress bar when it takes
// more than a second; a report of more than about 2,000 pages asks first.
#pragma once

#include "ui/reports/report_pages.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace card {

struct ReportJob {
    QString proposedFileName; // of the PDF, offered in the save dialog
    // Never written to: the records and photo folders and the loaded parameter file.
    QStringList protectedPlaces;
    // Makes the report; runs on the site pool, so it must own everything it uses.
    std::function<ReportPages()> make;
};

// The page count from which a report asks before it is made.
inline constexpr int kPagesAskedAbout = 2000;

// Makes the report and shows it in a print preview, from which it is printed.
void printReport(QWidget* parent, const ReportJob& job);

// Asks where to save the PDF (refusing the protected places before anything is made), makes
// it and writes it the safe way; failures are said in a message box, a written file in a
// passing message.
void exportReportPdf(QWidget* parent, const ReportJob& job);

} // namespace card
