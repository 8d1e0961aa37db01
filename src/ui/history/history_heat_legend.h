// The key to the card history's hour picture: its colours for in and out (darker for more
// swipes in the hour), for an hour without swipes and for a day without a readable file.
#pragma once

#include <QWidget>

class QPainter;

namespace card {

class HistoryHeatLegend : public QWidget {
    Q_OBJECT
public:
    explicit HistoryHeatLegend(QWidget* parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Entry {
        QColor colour; // none for a line of text alone
        bool shaded;   // drawn from one swipe's faint shade to the busiest hour's full one
        QString text;
    };
    static const QList<Entry>& entries();
    QSize swatchSize() const;
    static void paintSwatch(QPainter& painter, const QRect& box, const Entry& entry);
};

} // namespace card
