// design_pictures <output folder>: draws start.jpg, no_photo.gif and card_image.ico, then reads
// each file back to check that it is what the main window expects.
#include "gif_writer.h"
#include "ico_writer.h"
#include "pictures.h"

#include "tool_output.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QSet>

#include <cstdio>

namespace {

using card::tools::fail;
using card::tools::writeBytes;

constexpr int kJpegQuality = 90;

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray encodeJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(kJpegQuality);
    if (!writer.write(image))
        fail(QStringLiteral("JPEG encoding failed: %1").arg(writer.errorString()));
    return bytes;
}

int bigEndianWord(const QByteArray& bytes, qsizetype pos)
{
    return (uchar(bytes[pos]) << 8) | uchar(bytes[pos + 1]);
}

// The JFIF segment right after the start-of-image marker: units 1 means dots per inch.
bool hasJfifDpi(const QByteArray& jpeg, int dpi)
{
    constexpr qsizetype kUnitsPos = 13;
    if (jpeg.size() < kUnitsPos + 5 || !jpeg.startsWith("\xFF\xD8\xFF\xE0") ||
        jpeg.mid(6, 5) != QByteArrayView("JFIF\0", 5))
        return false;
    return jpeg[kUnitsPos] == 1 && bigEndianWord(jpeg, kUnitsPos + 1) == dpi &&
           bigEndianWord(jpeg, kUnitsPos + 3) == dpi;
}

bool checkStartPicture(const QString& path)
{
    const QImage image(path);
    if (image.size() != card::kStartPictureSize) {
        fail(QStringLiteral("%1 does not read back at 320 x 240").arg(path));
        return false;
    }
    if (!hasJfifDpi(readBytes(path), card::kStartPictureDpi)) {
        fail(QStringLiteral("%1 has no JFIF header of 150 dots per inch").arg(path));
        return false;
    }
    return true;
}

bool checkNoPhotoPicture(const QString& path, const QImage& expected)
{
    QImageReader reader(path);
    if (reader.format() != "gif") {
        fail(QStringLiteral("%1 is not recognised as GIF").arg(path));
        return false;
    }
    const QImage image = reader.read().convertToFormat(QImage::Format_RGB32);
    if (image != expected.convertToFormat(QImage::Format_RGB32)) {
        fail(QStringLiteral("%1 does not decode to the drawn pixels").arg(path));
        return false;
    }
    return true;
}

bool checkIcon(const QString& path, const QList<int>& sizes)
{
    QImageReader reader(path);
    if (reader.format() != "ico" || reader.imageCount() != sizes.size()) {
        fail(QStringLiteral("%1 is not an icon of %2 images").arg(path).arg(sizes.size()));
        return false;
    }
    QSet<int> found;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read();
        if (image.isNull() || image.width() != image.height()) {
            fail(QStringLiteral("%1: image %2 does not load").arg(path).arg(i));
            return false;
        }
        found.insert(image.width());
    }
    if (found != QSet<int>(sizes.cbegin(), sizes.cend())) {
        fail(QStringLiteral("%1 lacks one of the icon sizes").arg(path));
        return false;
    }
    return true;
}

bool makeStartPicture(const QDir& folder)
{
    const QString path = folder.filePath(QStringLiteral("start.jpg"));
    return writeBytes(path, encodeJpeg(card::drawStartPicture())) && checkStartPicture(path);
}

bool makeNoPhotoPicture(const QDir& folder)
{
    const QString path = folder.filePath(QStringLiteral("no_photo.gif"));
    const QImage indexed = card::toGifPalette(card::drawNoPhotoPicture());
    return writeBytes(path, card::encodeGif(indexed)) && checkNoPhotoPicture(path, indexed);
}

bool makeCardIcon(const QDir& folder)
{
    const QString path = folder.filePath(QStringLiteral("card_image.ico"));
    const QList<int> sizes{32, 16};
    QList<QImage> images;
    for (int size : sizes)
        images.append(card::drawCardIcon(size));
    return writeBytes(path, card::encodeSixteenColourIcon(images)) && checkIcon(path, sizes);
}

} // namespace

int main(int argc, char* argv[])
{
    card::tools::setToolName("design_pictures");
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: design_pictures <output folder>\n");
        return 2;
    }
    QDir folder(args[1]);
    if (!folder.mkpath(QStringLiteral("."))) {
        fail(QStringLiteral("cannot create %1").arg(args[1]));
        return 1;
    }
    const bool ok = makeStartPicture(folder) && makeNoPhotoPicture(folder) && makeCardIcon(folder);
    return ok ? 0 : 1;
}
