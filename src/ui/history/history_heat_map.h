// The hour-by-day picture of a card history: one line per row of the days model, 24 hour
// cells each shaded by that hour's swipes, in (blue, upper half) and out (orange, lower half)
// apart, so that a night visit or a week without swipes stands out at a glance.
#pragma once

#include <QWidget>

namespace card {

class HistoryDaysModel;

class HistoryHeatMap : public QWidget {
    Q_OBJECT
public:
    HistoryHeatMap(HistoryDaysModel* model, QWidget* parent);

    QSize sizeHint() const override;
    // The row and hour of the cell at point; false outside the cells.
    bool cellAt(const QPoint& point, int& row, int& hour) const;
    // The centre of a cell, for pointing at it.
    QPoint cellCentre(int row, int hour) const;

signals:
    void cellClicked(int row, int hour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int labelWidth() const;
    int headerHeight() const;
    double cellWidth() const;
    int busiestHour() const;

    HistoryDaysModel* m_model;
};

} // namespace card
