// Decodes a list's small pictures on siteIoPool(), a few at a time, from a chosen row outwards.
#pragma once

#include <QImage>
#include <QList>
#include <QObject>

#include <functional>

namespace card {

class BoundedSiteWork;

class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    using Job = std::function<QImage()>;

    // parallel: how many jobs run at once, leaving pool threads for the large picture.
    ThumbnailLoader(int parallel, QObject* parent);

    // Replaces the jobs: those not yet started are dropped, results of started ones ignored.
    // They run from jobs[first] outwards (first, first + 1, first - 1, ...): the list shows
    // the rows around its shown one first.
    void load(QList<Job> jobs, int first = 0);
    void cancel() { load({}); }

signals:
    // The result of jobs[index] of the latest load; null when there was nothing to show.
    void loaded(int index, const QImage& image);

private:
    BoundedSiteWork* m_work;
};

} // namespace card
