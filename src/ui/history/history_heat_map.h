// The hour-by-day picture of a card history, drawn beside its days list: the list's rows at
// the list's heights, following its scrolling and marking its selected row. Each row has 24
// hour cells shaded by that hour's swipes, in (blue, upper half) and out (orange, lower half)
// apart, so that a night visit or a week without swipes stands out at a glance.
#pragma once

#include <QColor>
#include <QWidget>

class QTableView;

namespace card {

class HistoryDaysModel;

// The colours of the picture, for the picture and its legend.
namespace heat_colours {
inline const QColor kIn(30, 100, 220);
inline const QColor kOut(235, 120, 20);
inline const QColor kNoSwipe(245, 245, 245);
inline const QColor kNoFile(200, 200, 200);
inline const QColor kGrid(225, 225, 225);
// Faint for one swipe, full for the busiest hour of the shown days.
QColor shade(const QColor& colour, int count, int busiest);
} // namespace heat_colours

class HistoryHeatMap : public QWidget {
    Q_OBJECT
public:
    // days shows model; the picture draws its rows where days shows them.
    HistoryHeatMap(QTableView* days, HistoryDaysModel* model, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The row and hour of the cell at point; false outside the shown cells.
    bool cellAt(const QPoint& point, int& row, int& hour) const;
    // The centre of a cell, for pointing at it (outside the picture for a row scrolled away).
    QPoint cellCentre(int row, int hour) const;

signals:
    void cellClicked(int row, int hour);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void resetLabels();
    void measureLabels(int first, int last);
    int rowTop(int row) const;
    int rowsTop() const;
    int rowsBottom() const;
    double cellWidth() const;
    QRectF cellRect(int row, int hour) const;
    int busiestHour() const;
    void paintHourHeadings(QPainter& painter) const;
    void paintRow(QPainter& painter, int row, int busiest) const;
    QString cellToolTip(int row, int hour) const;

    QTableView* m_days;
    HistoryDaysModel* m_model;
    int m_labelWidth = 0;
    bool m_labelsWithCards = false; // whether m_labelWidth measured labels with card and name
};

} // namespace card
