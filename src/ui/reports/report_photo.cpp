#include "ui/reports/report_photo.h"

#include "core/platform/file_exists.h"
#include "ui/common/photo_loader.h"
#include "ui/common/picture_enhance.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"

namespace card {

ReportPicture reportPhoto(const QString& path, const PictureTone& tone)
{
    const QSize size = photoSize(path);
    if (size.isEmpty())
        return {};
    if (tone.isPlain())
        return {size, path, [path](const QSize& pixels) {
                    return loadPhoto(path, pixels);
                }};
    return {size, path + u'\n' + toneText(tone), [path, tone](const QSize& pixels) {
                return tonedImage(loadPhoto(path, pixels), tone);
            }};
}

ReportPicture swipeReportPhoto(const Swipe& swipe)
{
    const SwipePhotos photos = findSwipePhotos(swipe, fileExists);
    return photos.frames.isEmpty() ? ReportPicture() : reportPhoto(photos.frames.constLast().path);
}

} // namespace card
