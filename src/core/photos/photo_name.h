// The name of a swipe's photo file: a stem and one suffix character, "C" for the still photo or
// "1" to "5" for the frames of a sequence, then ".jpg".
#pragma once

#include <QString>

#include <optional>

namespace card {

inline constexpr int kHighestFrame = 5;

class PhotoName {
public:
    // The photos of one swipe: <folder><separator><card>-<YYMMDD>-<hhmmss>-<suffix>.jpg.
    static PhotoName forSwipe(const QString& folder, const QString& card, const QString& day,
                              const QString& time);
    // A path that ends in one suffix character and ".jpg"; nothing for any other.
    static std::optional<PhotoName> fromPath(const QString& path);

    PhotoName stillPhoto() const { return {m_stem, u'C'}; }
    PhotoName frame(int number) const;

    // The frame number 1 to 5; 0 for the still photo and any other suffix.
    int frameNumber() const;
    bool isFrame() const { return frameNumber() > 0; }

    QString path() const;

private:
    PhotoName(QString stem, QChar suffix)
        : m_stem(std::move(stem))
        , m_suffix(suffix)
    {}

    QString m_stem; // everything before the suffix character, the dash included
    QChar m_suffix;
};

} // namespace card
