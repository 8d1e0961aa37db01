#include "ui/reports/report_pages.h"

#include "core/cases/case_records.h"
#include "core/platform/product.h"
#include "ui/common/photo_loader.h"
#include "ui/common/photo_texts.h"
#include "ui/reports/report_texts.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <list>
#include <mutex>

namespace card {

namespace {

constexpr int kBodyPoints = 9;
constexpr int kHeadingPoints = 13;
constexpr int kFurniturePoints = 8;
constexpr qreal kMarginMm = 15;
constexpr qreal kPointsPerInch = 72;
constexpr qreal kTitleLine = 18;
constexpr qreal kSubjectLine = 14;
// Room for the page's title line and the subject under it, taken from the body.
constexpr qreal kHeaderHeight = kTitleLine + kSubjectLine + 6;
constexpr qreal kFooterHeight = 18;
constexpr qreal kCellPadding = 3;
constexpr qreal kRowSpacing = 1.5; // a table row's height as a share of the line height
constexpr qreal kPictureGap = 6;
constexpr int kLightestShade = 235; // grey of a shaded cell with the smallest count
constexpr int kDarkestShade = 150;
constexpr qreal kCheckRowHeight = 48; // a check list's row: room for a recognisable face
constexpr qreal kCheckBoxSide = 16;
// Photos are printed at this resolution: sharp on paper, a fraction of a large photo's pixels.
constexpr qreal kPrintDpi = 300;
// Pictures up to this size are kept for drawing again, together up to the second bound.
constexpr qsizetype kKeptPictureBytes = 1024 * 1024;
constexpr qsizetype kKeptBytes = 64 * 1024 * 1024;

qreal lineHeight(const QFont& font)
{
    return QFontMetricsF(font).lineSpacing();
}

void drawCell(QPainter& painter, const QRectF& cell, const QString& text, int flags)
{
    const QRectF inner = cell.adjusted(kCellPadding, 0, -kCellPadding, 0);
    const QString shown =
        QFontMetricsF(painter.font()).elidedText(text, Qt::ElideRight, inner.width());
    painter.drawText(inner, flags | Qt::AlignVCenter, shown);
}

QList<qreal> columnEdges(const QList<qreal>& widths, qreal total)
{
    qreal sum = 0;
    for (const qreal width : widths)
        sum += width;
    QList<qreal> edges{0};
    for (const qreal width : widths)
        edges << edges.last() + width / sum * total;
    return edges;
}

int shadeOf(const QString& cell, int scale)
{
    bool number = false;
    const int count = cell.toInt(&number);
    if (!number || count <= 0 || scale <= 0)
        return -1;
    const qreal share = std::min(1.0, static_cast<qreal>(count) / scale);
    return kLightestShade - static_cast<int>(std::lround(share * (kLightestShade - kDarkestShade)));
}

void drawRow(QPainter& painter, const QRectF& area, const QList<qreal>& widths,
             const QStringList& cells, int shadeScale)
{
    const QList<qreal> edges = columnEdges(widths, area.width());
    for (qsizetype i = 0; i < cells.size() && i + 1 < edges.size(); ++i) {
        const qreal right = i + 1 == cells.size() ? edges.last() : edges[i + 1];
        const QRectF cell(area.left() + edges[i], area.top(), right - edges[i], area.height());
        const bool across = i + 1 == cells.size() && right > edges[i + 1];
        const int shade = shadeOf(cells[i], shadeScale);
        if (shade >= 0)
            painter.fillRect(cell, QColor(shade, shade, shade));
        drawCell(painter, cell, cells[i],
                 shadeScale > 0 && !across ? Qt::AlignHCenter : Qt::AlignLeft);
    }
}

QRectF fitted(const QSizeF& picture, const QRectF& box)
{
    const QSizeF size = picture.scaled(box.size(), Qt::KeepAspectRatio);
    return {box.left() + (box.width() - size.width()) / 2, box.top(), size.width(), size.height()};
}

// The pixels a picture drawn over drawn (points) needs to print sharply: never more than its
// own, so a 12-megapixel photo on a page costs what the page shows of it.
QSize printPixels(const QSizeF& drawn, const QSize& own)
{
    const QSize wanted = (drawn * kPrintDpi / kPointsPerInch).toSize();
    if (wanted.width() >= own.width() || wanted.height() >= own.height())
        return own;
    return own.scaled(wanted, Qt::KeepAspectRatio);
}

} // namespace

// Small pictures decoded while a report is painted, the latest kept up to a bound: the evidence
// sheets of a case show the card's day on every sheet, and each of its photos is decoded once
// and embedded once. Large pictures are drawn and let go.
class PictureCache {
public:
    QImage image(const ReportPicture& picture, const QSize& pixels)
    {
        if (picture.key().isEmpty())
            return picture.image(pixels);
        const std::lock_guard lock(m_mutex);
        const auto kept = std::find_if(m_kept.begin(), m_kept.end(), [&](const Kept& item) {
            return item.key == picture.key() && item.pixels == pixels;
        });
        if (kept != m_kept.end()) {
            m_kept.splice(m_kept.begin(), m_kept, kept);
            return kept->image;
        }
        QImage image = picture.image(pixels);
        if (m_keepAll || image.sizeInBytes() <= kKeptPictureBytes)
            keep({picture.key(), pixels, image});
        return image;
    }

    // From now on every picture is kept, whatever its size and count.
    void keepAll()
    {
        const std::lock_guard lock(m_mutex);
        m_keepAll = true;
    }

private:
    struct Kept {
        QString key;
        QSize pixels;
        QImage image;
    };

    void keep(Kept item)
    {
        m_bytes += item.image.sizeInBytes();
        m_kept.push_front(std::move(item));
        while (!m_keepAll && m_bytes > kKeptBytes) {
            m_bytes -= m_kept.back().image.sizeInBytes();
            m_kept.pop_back();
        }
    }

    std::mutex m_mutex;
    std::list<Kept> m_kept; // the latest used first
    qsizetype m_bytes = 0;
    bool m_keepAll = false;
};

namespace {

// The picture decoded for drawing fitted in box.
QImage imageFor(PictureCache& cache, const ReportPicture& picture, const QRectF& box)
{
    const QRectF target = fitted(QSizeF(picture.size()), box);
    return cache.image(picture, printPixels(target.size(), picture.size()));
}

// The picture fitted in box, or where there is none the no-photo picture and its words under it.
void drawPicture(QPainter& painter, PictureCache& cache, const ReportPicture& picture,
                 const QRectF& box)
{
    if (!picture.isNull()) {
        const QRectF target = fitted(QSizeF(picture.size()), box);
        const QImage image = imageFor(cache, picture, box);
        if (!image.isNull()) {
            painter.drawImage(target, image);
            return;
        }
    }
    const QImage& noPhoto = noPhotoPicture();
    const QFont font = reportFont(kBodyPoints);
    const qreal words = lineHeight(font);
    painter.drawImage(fitted(noPhoto.size(), box.adjusted(0, 0, 0, -words)), noPhoto);
    painter.save();
    painter.setFont(font);
    painter.drawText(QRectF(box.left(), box.bottom() - words, box.width(), words), Qt::AlignCenter,
                     kNoPhotoText);
    painter.restore();
    painter.drawRect(box);
}

QPageLayout a4Layout()
{
    return {QPageSize(QPageSize::A4), QPageLayout::Portrait,
            QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter};
}

QSizeF a4Body()
{
    const QRectF paint = a4Layout().paintRect(QPageLayout::Point);
    return {paint.width(), paint.height() - kHeaderHeight - kFooterHeight};
}

} // namespace

QFont reportFont(int points, bool bold)
{
    QFont font;
    font.setFamilies(report_texts::kFontFamilies);
    // Sizes are in points and the painter draws in points: a pixel size keeps them independent
    // of the device's resolution.
    font.setPixelSize(points);
    font.setBold(bold);
    return font;
}

ReportStamp stampNow()
{
    const StoreOperator who = currentOperator();
    return {QDateTime::currentDateTime(), who.user, who.machine};
}

ReportPicture::ReportPicture(QImage image)
    : m_size(image.size())
    , m_decode([image = std::move(image)](const QSize&) { return image; })
{}

ReportPicture::ReportPicture(QSize size, QString key, Decode decode)
    : m_size(size)
    , m_key(std::move(key))
    , m_decode(std::move(decode))
{}

QImage ReportPicture::image(const QSize& pixels) const
{
    return isNull() ? QImage() : m_decode(pixels);
}

ReportPages::ReportPages(QString reportTitle, ReportStamp stamp)
    : m_title(std::move(reportTitle))
    , m_stamp(std::move(stamp))
    , m_pictures(std::make_shared<PictureCache>())
{}

void ReportPages::setSubject(const QString& subject)
{
    m_subjects.append(subject);
}

void ReportPages::addPiece(Piece piece)
{
    piece.subject = static_cast<int>(m_subjects.size()) - 1;
    m_pieces.push_back(std::move(piece));
}

void ReportPages::addHeading(const QString& text)
{
    const QFont font = reportFont(kHeadingPoints, true);
    const qreal height = lineHeight(font) * kRowSpacing;
    addPiece({[height](const QSizeF&) { return height; },
              [font, text](QPainter& painter, const QRectF& area) {
                  painter.setFont(font);
                  drawCell(painter, area, text, Qt::AlignLeft);
              },
              -1, true});
}

void ReportPages::addSubheading(const QString& text)
{
    const QFont font = reportFont(kBodyPoints, true);
    const qreal height = lineHeight(font) * kRowSpacing;
    addPiece({[height](const QSizeF&) { return height; },
              [font, text](QPainter& painter, const QRectF& area) {
                  painter.setFont(font);
                  drawCell(painter, area, text, Qt::AlignLeft);
              },
              -1, true});
}

void ReportPages::addFields(const QList<std::pair<QString, QString>>& fields)
{
    const QFont font = reportFont(kBodyPoints);
    const qreal height = lineHeight(font) * kRowSpacing;
    for (const auto& [label, value] : fields) {
        const QString line = label + report_texts::kFieldSeparator + value;
        addPiece({[height](const QSizeF&) { return height; },
                  [font, line](QPainter& painter, const QRectF& area) {
                      painter.setFont(font);
                      drawCell(painter, area, line, Qt::AlignLeft);
                  }});
    }
}

int ReportPages::addTableHeading(const QStringList& headings, const QList<qreal>& widths)
{
    const QFont bold = reportFont(kBodyPoints, true);
    const qreal height = lineHeight(reportFont(kBodyPoints)) * kRowSpacing;
    const int heading = static_cast<int>(m_pieces.size());
    addPiece({[height](const QSizeF&) { return height; },
              [bold, headings, widths](QPainter& painter, const QRectF& area) {
                  painter.setFont(bold);
                  painter.fillRect(area, QColor(220, 220, 220));
                  drawRow(painter, area, widths, headings, 0);
              },
              -1, true});
    return heading;
}

void ReportPages::addTable(const QStringList& headings, const QList<qreal>& widths,
                           qsizetype rowCount, std::function<QStringList(qsizetype row)> row,
                           int shadeScale)
{
    const QFont plain = reportFont(kBodyPoints);
    const qreal height = lineHeight(plain) * kRowSpacing;
    const int heading = addTableHeading(headings, widths);
    auto cells = std::make_shared<std::function<QStringList(qsizetype)>>(std::move(row));
    for (qsizetype i = 0; i < rowCount; ++i) {
        addPiece({[height](const QSizeF&) { return height; },
                  [plain, widths, cells, i, shadeScale](QPainter& painter, const QRectF& area) {
                      painter.setFont(plain);
                      drawRow(painter, area, widths, (*cells)(i), shadeScale);
                      painter.setPen(QColor(200, 200, 200));
                      painter.drawLine(area.bottomLeft(), area.bottomRight());
                      painter.setPen(Qt::black);
                  },
                  heading});
    }
}

void ReportPages::addCheckList(const QStringList& headings, const QList<qreal>& widths,
                               qsizetype rowCount, std::function<CheckListRow(qsizetype row)> row)
{
    const QFont plain = reportFont(kBodyPoints);
    const int heading = addTableHeading(headings, widths);
    auto rows = std::make_shared<std::function<CheckListRow(qsizetype)>>(std::move(row));
    for (qsizetype i = 0; i < rowCount; ++i) {
        addPiece({[](const QSizeF&) { return kCheckRowHeight; },
                  [plain, widths, rows, i, pictures = m_pictures](QPainter& painter,
                                                                  const QRectF& area) {
                      const CheckListRow item = (*rows)(i);
                      const QList<qreal> edges = columnEdges(widths, area.width());
                      const QRectF pictureBox =
                          QRectF(area.left() + edges[0], area.top(), edges[1] - edges[0],
                                 area.height())
                              .adjusted(kCellPadding, kCellPadding, -kCellPadding, -kCellPadding);
                      drawPicture(painter, *pictures, item.picture, pictureBox);
                      painter.setFont(plain);
                      const QRectF texts(area.left() + edges[1], area.top(),
                                         area.width() - edges[1], area.height());
                      drawRow(painter, texts, widths.mid(1), item.cells, 0);
                      const QRectF box(area.left() + edges[edges.size() - 2] + kCellPadding,
                                       area.center().y() - kCheckBoxSide / 2, kCheckBoxSide,
                                       kCheckBoxSide);
                      painter.drawRect(box);
                      painter.setPen(QColor(200, 200, 200));
                      painter.drawLine(area.bottomLeft(), area.bottomRight());
                      painter.setPen(Qt::black);
                  },
                  heading});
    }
}

void ReportPages::addPicture(const ReportPicture& picture, const QString& caption)
{
    const QFont font = reportFont(kBodyPoints);
    const qreal captionHeight = lineHeight(font) * kRowSpacing;
    const QSizeF size = picture.isNull() ? QSizeF(4, 3) : QSizeF(picture.size());
    const auto height = [size, captionHeight](const QSizeF& body) {
        const qreal room = body.height() - captionHeight - kPictureGap;
        return std::min(room, body.width() * size.height() / size.width()) + captionHeight +
               kPictureGap;
    };
    const auto target = [size, captionHeight](const QRectF& area) {
        return fitted(size, area.adjusted(0, 0, 0, -captionHeight - kPictureGap));
    };
    Piece piece{height, [picture, caption, font, captionHeight, target,
                         pictures = m_pictures](QPainter& painter, const QRectF& area) {
                    const QRectF drawn = target(area);
                    drawPicture(painter, *pictures, picture, drawn);
                    painter.setFont(font);
                    drawCell(painter,
                             QRectF(area.left(), drawn.bottom() + kPictureGap / 2, area.width(),
                                    captionHeight),
                             caption, Qt::AlignHCenter);
                }};
    if (!picture.isNull())
        piece.decodeAhead = [picture, height, target, pictures = m_pictures](const QSizeF& body) {
            imageFor(*pictures, picture,
                     target(QRectF(QPointF(), QSizeF(body.width(), height(body)))));
        };
    addPiece(std::move(piece));
}

void ReportPages::addPictureRows(const QList<CaptionedPicture>& pictures, qreal pictureWidth)
{
    const QFont font = reportFont(kBodyPoints);
    const qreal captionHeight = lineHeight(font) * kRowSpacing;
    const qreal pictureHeight = pictureWidth * 3 / 4;
    const qreal cellWidth = pictureWidth + kPictureGap;
    // The rows are known only with the page's width: one piece per possible row start, each
    // painting the pictures that fall on its row and taking no room when it holds none.
    auto shared = std::make_shared<QList<CaptionedPicture>>(pictures);
    for (qsizetype first = 0; first < pictures.size(); ++first) {
        const auto perRow = [cellWidth](const QSizeF& body) {
            return std::max<qsizetype>(1, static_cast<qsizetype>(body.width() / cellWidth));
        };
        Piece piece{[perRow, first, pictureHeight, captionHeight](const QSizeF& body) {
                        return first % perRow(body) == 0
                                   ? pictureHeight + captionHeight + kPictureGap
                                   : 0.0;
                    },
                    [shared, perRow, first, pictureWidth, pictureHeight, cellWidth, captionHeight,
                     font, pictures = m_pictures](QPainter& painter, const QRectF& area) {
                        const qsizetype count = perRow(area.size());
                        if (first % count != 0)
                            return;
                        painter.setFont(font);
                        const qsizetype end = std::min(shared->size(), first + count);
                        for (qsizetype i = first; i < end; ++i) {
                            const CaptionedPicture& item = (*shared)[i];
                            const QRectF box(area.left() + (i - first) * cellWidth, area.top(),
                                             pictureWidth, pictureHeight);
                            drawPicture(painter, *pictures, item.picture, box);
                            drawCell(painter,
                                     QRectF(box.left(), box.bottom(), pictureWidth, captionHeight),
                                     item.caption, Qt::AlignHCenter);
                        }
                    }};
        if (first == 0)
            piece.decodeAhead = [shared, pictureWidth, pictureHeight,
                                 pictures = m_pictures](const QSizeF&) {
                for (const CaptionedPicture& item : *shared) {
                    if (!item.picture.isNull())
                        imageFor(*pictures, item.picture,
                                 QRectF(0, 0, pictureWidth, pictureHeight));
                }
            };
        addPiece(std::move(piece));
    }
}

void ReportPages::addSpace(qreal points)
{
    addPiece({[points](const QSizeF&) { return points; }, {}});
}

// The height of the piece first and of those that must stay on its page with it: the pieces
// that keep with the next, and the first one that does not.
qreal ReportPages::heightKeptTogether(int first, const QSizeF& body) const
{
    qreal height = 0;
    for (int i = first; i < static_cast<int>(m_pieces.size()); ++i) {
        const Piece& piece = m_pieces[static_cast<size_t>(i)];
        const qreal own = piece.height(body);
        height += own;
        if (own > 0 && !piece.keepsWithNext)
            break;
    }
    return height;
}

std::vector<ReportPages::Page> ReportPages::layout(const QSizeF& body) const
{
    std::vector<Page> pages(1);
    qreal top = 0;
    for (int i = 0; i < static_cast<int>(m_pieces.size()); ++i) {
        const qreal height = m_pieces[static_cast<size_t>(i)].height(body);
        if (height <= 0)
            continue;
        const qreal needed =
            m_pieces[static_cast<size_t>(i)].keepsWithNext ? heightKeptTogether(i, body) : height;
        if (top + needed > body.height() && !pages.back().empty()) {
            pages.emplace_back();
            top = 0;
            const int heading = m_pieces[static_cast<size_t>(i)].repeatedHeading;
            if (heading >= 0) {
                pages.back().emplace_back(heading, top);
                top += m_pieces[static_cast<size_t>(heading)].height(body);
            }
        }
        pages.back().emplace_back(i, top);
        top += height;
    }
    return pages;
}

int ReportPages::pageCount(const QSizeF& body) const
{
    return static_cast<int>(layout(body).size());
}

int ReportPages::a4PageCount() const
{
    return pageCount(a4Body());
}

void ReportPages::decodePictures() const
{
    m_pictures->keepAll();
    const QSizeF body = a4Body();
    for (const Piece& piece : m_pieces) {
        if (piece.decodeAhead)
            piece.decodeAhead(body);
    }
}

void ReportPages::paintFurniture(QPainter& painter, const QSizeF& page, int number, int count,
                                 const QString& subject) const
{
    const QFont font = reportFont(kFurniturePoints);
    const QFont bold = reportFont(kFurniturePoints + 2, true);
    painter.setFont(font);
    painter.drawText(QRectF(0, 0, page.width() / 2, kTitleLine), Qt::AlignLeft | Qt::AlignVCenter,
                     kProductTitle);
    painter.setFont(bold);
    painter.drawText(QRectF(page.width() / 2, 0, page.width() / 2, kTitleLine),
                     Qt::AlignRight | Qt::AlignVCenter, m_title);
    painter.drawLine(QPointF(0, kTitleLine), QPointF(page.width(), kTitleLine));
    // The first page says its subject in its own fields; the others repeat it here.
    if (number > 1 && !subject.isEmpty()) {
        painter.setFont(reportFont(kBodyPoints, true));
        drawCell(painter, QRectF(0, kTitleLine + 2, page.width(), kSubjectLine),
                 report_texts::continuedSubject(subject), Qt::AlignLeft);
    }
    painter.setFont(font);
    const QRectF foot(0, page.height() - kFooterHeight + 4, page.width(), kFooterHeight - 4);
    painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter,
                     report_texts::stampLine(m_stamp.made, m_stamp.user, m_stamp.machine));
    painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
                     report_texts::pageNumber(number, count));
}

void useReportPage(QPagedPaintDevice& device)
{
    device.setPageLayout(a4Layout());
}

bool ReportPages::paint(QPagedPaintDevice& device, const PageProgress& progress) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Drawing is in points: the painter's scale turns them into the device's dots.
    const qreal scale = device.logicalDpiY() / kPointsPerInch;
    const QRectF paintRect = device.pageLayout().paintRect(QPageLayout::Point);
    const QSizeF page = paintRect.size();
    const QSizeF body(page.width(), page.height() - kHeaderHeight - kFooterHeight);
    const std::vector<Page> pages = layout(body);
    const int count = static_cast<int>(pages.size());
    for (int number = 1; number <= count; ++number) {
        if (number > 1)
            device.newPage();
        painter.resetTransform();
        painter.scale(scale, scale);
        const Page& pieces = pages[static_cast<size_t>(number - 1)];
        const int subject =
            pieces.empty() ? -1 : m_pieces[static_cast<size_t>(pieces.front().first)].subject;
        paintFurniture(painter, page, number, count, m_subjects.value(subject));
        for (const auto& [index, top] : pieces) {
            const Piece& piece = m_pieces[static_cast<size_t>(index)];
            if (piece.paint)
                piece.paint(painter,
                            QRectF(0, kHeaderHeight + top, body.width(), piece.height(body)));
        }
        if (progress && !progress(number, count)) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

} // namespace card
