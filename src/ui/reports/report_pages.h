// A report laid out on pages: its content as a column of pieces that are never split, placed
// page by page, then painted with the furniture every page carries (the product's title, the
// report's title, on a continuation page the report's subject, and at the foot when, by whom
// and where it was made, the page number and the page count). Built and painted on any thread.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QFont;
class QPainter;
class QPagedPaintDevice;
class QRectF;

namespace card {

class PictureCache;

// A picture in a report. A photo is decoded only when its page is painted, at the pixels it
// covers in print, so a report of many photos never holds them all; an image at hand is drawn as
// it is. A null picture is said with the no-photo picture.
class ReportPicture {
public:
    // Gives the picture at pixels, never more than its own size; null when it cannot be shown.
    using Decode = std::function<QImage(const QSize& pixels)>;

    ReportPicture() = default;
    ReportPicture(QImage image); // NOLINT(google-explicit-constructor): an image is a picture
    // key names what decode gives (a file, and its tone): small pictures of one key are decoded
    // once while the report is painted, so a card's day repeated on every sheet costs one read.
    ReportPicture(QSize size, QString key, Decode decode);

    bool isNull() const { return m_size.isEmpty(); }
    QSize size() const { return m_size; }
    const QString& key() const { return m_key; }
    QImage image(const QSize& pixels) const;

private:
    QSize m_size;
    QString m_key;
    Decode m_decode;
};

// A small picture with the text under it (a time, a frame number).
struct CaptionedPicture {
    ReportPicture picture;
    QString caption;
};

// A row of a check list: a small picture, then its texts.
struct CheckListRow {
    QImage picture; // null: there is no photo, said with the no-photo picture
    QStringList cells;
};

// When a report was made, by which user on which computer: at the foot of every page, so a
// page apart from the others still says where it comes from.
struct ReportStamp {
    QDateTime made;
    QString user;
    QString machine;
};

// Now, the operator logged in here and this computer.
ReportStamp stampNow();

// Called after each painted page with the pages done and the page count; false stops painting.
using PageProgress = std::function<bool(int done, int total)>;

class ReportPages {
public:
    explicit ReportPages(QString reportTitle, ReportStamp stamp = stampNow());

    const QString& title() const { return m_title; }
    const ReportStamp& stamp() const { return m_stamp; }

    // What the pieces added from now on are about (a day and its filters, a card): repeated
    // under the title of every page that continues them.
    void setSubject(const QString& subject);

    // Content, top to bottom. Sizes are in points (1/72 inch). A heading never ends a page:
    // it goes to the next one with the piece that follows it.
    void addHeading(const QString& text);
    // A heading in body type, for the parts of a section (a day, a swipe).
    void addSubheading(const QString& text);
    // "label：value" lines, one each.
    void addFields(const QList<std::pair<QString, QString>>& fields);
    // A table whose heading repeats at the top of every page it runs onto. widths are the
    // columns' shares of the page width; row(i) gives the cells of row i, and a row of fewer
    // cells than columns has its last cell run across the rest. With shaded, a cell holding a
    // number is filled darker the larger the number is against shadeScale.
    void addTable(const QStringList& headings, const QList<qreal>& widths, qsizetype rowCount,
                  std::function<QStringList(qsizetype row)> row, int shadeScale = 0);
    // A list to tick on paper, one row per item: a small picture, the row's texts, and an empty
    // box in the last column. headings and widths cover every column, the picture's first;
    // the heading repeats on every page.
    void addCheckList(const QStringList& headings, const QList<qreal>& widths, qsizetype rowCount,
                      std::function<CheckListRow(qsizetype row)> row);
    // A picture as large as the page allows.
    void addPicture(const ReportPicture& picture, const QString& caption);
    // Small pictures in rows, each with its caption.
    void addPictureRows(const QList<CaptionedPicture>& pictures, qreal pictureWidth);
    // Some space before the next piece.
    void addSpace(qreal points);

    // The number of pages on a page of body size (points, inside the margins).
    int pageCount(const QSizeF& body) const;
    // Paints every page on device (a PDF writer or a printer) within its page layout's margins.
    // False when progress stopped it or the painter could not start.
    bool paint(QPagedPaintDevice& device, const PageProgress& progress = {}) const;
    // The page count on an A4 page with the report's margins.
    int a4PageCount() const;
    // Decodes every photo now, at the pixels an A4 page prints it with, and keeps them all: for a
    // report painted where no file may be read (the print preview, on the interface thread).
    void decodePictures() const;

private:
    struct Piece {
        std::function<qreal(const QSizeF& body)> height;
        std::function<void(QPainter& painter, const QRectF& area)> paint;
        int repeatedHeading = -1;   // the piece painted first when this one opens a page
        bool keepsWithNext = false; // never the last piece of a page
        int subject = -1;           // in m_subjects; -1 before the first
        // Decodes the piece's photos as paint would on a page of body size.
        std::function<void(const QSizeF& body)> decodeAhead = {};
    };
    using Page = std::vector<std::pair<int, qreal>>; // piece index and its top

    void addPiece(Piece piece);
    // The shaded heading row of a table, repeated at the top of each page the table goes on
    // to; its piece index.
    int addTableHeading(const QStringList& headings, const QList<qreal>& widths);
    qreal heightKeptTogether(int first, const QSizeF& body) const;
    std::vector<Page> layout(const QSizeF& body) const;
    void paintFurniture(QPainter& painter, const QSizeF& page, int number, int count,
                        const QString& subject) const;

    QString m_title;
    ReportStamp m_stamp;
    QStringList m_subjects;
    std::vector<Piece> m_pieces;
    std::shared_ptr<PictureCache> m_pictures; // shared by the pieces, which outlive a move
};

// Sets device to the reports' page: A4 with 15 mm margins.
void useReportPage(QPagedPaintDevice& device);

// The report's text font: one that holds Traditional Chinese, at size points.
QFont reportFont(int points, bool bold = false);

} // namespace card
