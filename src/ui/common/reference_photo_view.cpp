#include "ui/common/reference_photo_view.h"

#include "core/photos/photo_file_checks.h"
#include "core/platform/file_bytes.h"
#include "core/platform/site_io_task.h"
#include "ui/common/case_desk.h"
#include "ui/common/message_box.h"
#include "ui/common/photo_loader.h"
#include "ui/common/photo_texts.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace card {

namespace {

// Decoded no larger than a large screen's picture needs; scaled from there as the view resizes.
const QSize kDecodeBox(1600, 1200);
// As large as the inspection window's picture asks to be.
const QSize kPhotoHint(800, 600);

QImage decodeFitted(const QByteArray& bytes, const QSize& box)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader header(&buffer, "jpeg");
    header.setAutoDetectImageFormat(false);
    const QSize full = header.size();
    if (full.isEmpty())
        return {};
    const QSize fitted = full.scaled(box, Qt::KeepAspectRatio);
    return decodePhoto(bytes, fitted.width() < full.width() ? fitted : full);
}

} // namespace

ReferencePhotoView::ReferencePhotoView(QWidget* parent)
    : QWidget(parent)
    , m_picture(new QLabel(this))
    , m_caption(new QLabel(this))
{
    setAccessibleName(kReferenceName);
    m_picture->setAlignment(Qt::AlignCenter);
    // The picture and its caption follow the view's size: they never make a window larger.
    m_picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_caption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picture, 1);
    layout->addWidget(m_caption);
    connect(&CaseDesk::instance(), &CaseDesk::changed, this, &ReferencePhotoView::readReference);
}

void ReferencePhotoView::showCard(const QString& sitePath, const QString& card)
{
    if (sitePath == m_sitePath && card == m_card)
        return;
    m_sitePath = sitePath;
    m_card = card;
    readReference();
}

// A SQLite read of one row: quick enough for the interface thread.
void ReferencePhotoView::readReference()
{
    CaseStore* store = m_card.isEmpty() ? nullptr : CaseDesk::instance().quietStore();
    m_reference = store ? store->reference(m_sitePath, m_card) : std::nullopt;
    if (m_reference && m_reference->sha256 != m_decodedSha) {
        m_decoded = decodeFitted(m_reference->image, kDecodeBox);
        m_decodedSha = m_reference->sha256;
    }
    if (m_reference) {
        m_caption->setText(
            kReferenceCaption.arg(m_reference->day.toString(Qt::ISODate), m_reference->time));
        m_caption->setEnabled(true);
    } else {
        m_caption->setText(m_card.isEmpty() ? QString() : kNoReferenceText);
        m_caption->setEnabled(false);
    }
    setSizePolicy(m_reference ? QSizePolicy::Expanding : QSizePolicy::Maximum,
                  QSizePolicy::Preferred);
    updateGeometry();
    showPicture();
    emit referenceRead();
}

void ReferencePhotoView::showPicture()
{
    if (!m_reference || m_decoded.isNull()) {
        m_picture->clear();
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(
        m_decoded.scaled(m_picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

QSize ReferencePhotoView::sizeHint() const
{
    return m_reference ? kPhotoHint : sizeForPicture({m_caption->sizeHint().width(), 0});
}

QSize ReferencePhotoView::sizeForPicture(const QSize& pictureSize) const
{
    return pictureSize + QSize(0, m_caption->sizeHint().height() + layout()->spacing());
}

void ReferencePhotoView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    showPicture();
}

void pinReference(QWidget* parent, const Swipe& swipe, const QString& path)
{
    auto read = [path] {
        QByteArray bytes;
        return readFileSnapshot(path, kMaxPhotoFileBytes, bytes) == FileReadStatus::Ok
                   ? bytes
                   : QByteArray();
    };
    runOnSiteIo(parent, std::move(read), [parent, swipe, path](const QByteArray& bytes) {
        const QString fileName = QFileInfo(path).fileName();
        if (bytes.isEmpty()) {
            showMessage(parent, kReferenceUnreadable.arg(fileName));
            return;
        }
        CaseStore* store = CaseDesk::instance().store(parent);
        if (!store)
            return;
        CardReference reference;
        reference.sitePath = swipe.parameterFile;
        reference.card = swipe.card;
        reference.name = swipe.name;
        reference.day = swipe.day;
        reference.time = swipe.time;
        reference.fileName = fileName;
        reference.image = bytes;
        if (store->pinReference(reference))
            CaseDesk::instance().announceChange();
        else
            showMessage(parent, store->errorText());
    });
}

void removeReference(QWidget* parent, const Swipe& swipe)
{
    CaseStore* store = CaseDesk::instance().store(parent);
    if (!store)
        return;
    if (store->removeReference(swipe.parameterFile, swipe.card))
        CaseDesk::instance().announceChange();
    else
        showMessage(parent, store->errorText());
}

bool isReferenceSwipe(const CardReference& reference, const Swipe& swipe)
{
    return reference.sitePath == swipe.parameterFile && reference.card == swipe.card &&
           reference.day == swipe.day && reference.time == swipe.time;
}

} // namespace card
