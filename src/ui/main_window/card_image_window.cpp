#include "ui/main_window/card_image_window.h"

#include "ui/main_window/date_picker.h"
#include "core/layout/main_layout.h"
#include "ui/main_window/record_list_view.h"
#include "ui/file_select/file_select_dialog.h"
#include "core/dialog/load_command.h"
#include "core/dialog/module1.h"
#include "core/parameters/parameter_table.h"
#include "ui/common/accessible_names.h"
#include "ui/common/control_placement.h"
#include "core/platform/file_exists.h"
#include "ui/common/message_box.h"
#include "core/platform/twips.h"
#include "ui/common/window_caption.h"
#include "core/records/record_file.h"
#include "core/records/record_reader.h"
#include "core/records/record_table_model.h"
#include "ui/main_window/record_display.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include <cmath>

namespace card {

namespace {

constexpr int kClientWidthTwips = 8010;
constexpr int kClientHeightTwips = 4155;
constexpr int kPlaybackIntervalMs = 1000;
constexpr int kPhotoResizeDelayMs = 150;

const QColor kHeadingBackground(224, 224, 224);
const QColor kStatusText(255, 0, 0);
const QColor kQueryButtonColour(255, 255, 128);
const QColor kClearButtonColour(192, 255, 192);
const QColor kLoadButtonColour(255, 192, 128);

// "新細明體" where it exists, else the closest Traditional Chinese Ming face, else any CJK face.
QFont mingFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("新細明體"), QStringLiteral("PMingLiU"),
                      QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL UMing TW MBE"),
                      QStringLiteral("Noto Serif CJK TC"), QStringLiteral("Noto Sans CJK TC"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    font.setPointSizeF(pointSize);
    font.setBold(true);
    return font;
}

void fillBackground(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* plainLabel(QWidget* parent, const QString& caption)
{
    return new QLabel(caption, parent);
}

QLabel* headingLabel(QWidget* parent, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(Qt::AlignCenter);
    fillBackground(label, QPalette::Window, kHeadingBackground);
    return label;
}

QLabel* valueLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText); // values from the record file are shown as written
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(Qt::AlignCenter);
    fillBackground(label, QPalette::Window, parent->palette().color(QPalette::Base));
    return label;
}

QPushButton* commandButton(QWidget* parent, const QString& caption, const QColor& colour)
{
    auto* button = new QPushButton(caption, parent);
    button->setFont(mingFont(9));
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, colour);
    button->setPalette(palette);
    button->setAutoDefault(false);
    return button;
}

QLabel* pictureBox(QWidget* parent, const QString& resource)
{
    auto* box = new QLabel(parent);
    box->setScaledContents(true); // a picture box stretches its picture to its own size
    box->setPixmap(QPixmap(resource));
    return box;
}

// The filter inputs as the operator set them.
RecordCriteria queryCriteria(const MainControls& c)
{
    RecordCriteria criteria;
    criteria.cardFilterOn = c.Check1->isChecked();
    criteria.cardText = c.Text2->text();
    criteria.direction = directionChoice(c.Option1[0]->isChecked(), c.Option1[1]->isChecked(),
                                         c.Option1[2]->isChecked());
    return criteria;
}

// Shows the busy cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Reads the day file and shows the records that pass, all four lists at once.
FileReadStatus showRecordFile(RecordTableModel& records, const QString& path,
                              const RecordCriteria& criteria)
{
    const BusyCursor busy;
    RecordTable table;
    const FileReadStatus status = readRecordFile(path, criteria, table);
    records.setTable(std::move(table));
    return status;
}

// Controls without a caption of their own are named by their role in words; labels are not
// named, their text is what a screen reader speaks.
void nameControlsWithoutCaption(const MainControls& c)
{
    c.DTPicker1->setAccessibleName(QStringLiteral("日期選擇器"));
    c.Check1->setAccessibleName(QStringLiteral("卡號篩選核取方塊"));
    c.Text2->setAccessibleName(QStringLiteral("卡號文字方塊"));
    const std::array<QString, 4> listNames = {
        QStringLiteral("時間清單"), QStringLiteral("卡號清單"), QStringLiteral("姓名清單"),
        QStringLiteral("進出清單")};
    for (size_t k = 0; k < listNames.size(); ++k)
        c.List1[k]->setAccessibleName(listNames[k]);
    c.Image1->setAccessibleName(QStringLiteral("影像圖片方塊"));
    c.Image2->setAccessibleName(QStringLiteral("無影像圖片方塊"));
}

// Without a position of its own the window manager would place the window where it likes; the
// dialog, centred on this window, then follows it to the middle of the screen too.
void centreOnScreen(QWidget& window)
{
    QRect frame = window.frameGeometry();
    frame.moveCenter(window.screen()->availableGeometry().center());
    window.move(frame.topLeft());
}

// Outer size in twips, rounded half to even as the window's base size is stored.
qint16 toBaseTwips(int pixels)
{
    return static_cast<qint16>(std::nearbyint(pixelsToTwips(pixels)));
}

} // namespace

CardImageWindow::CardImageWindow(QWidget* parent)
    : QWidget(parent)
    , m_records(new RecordTableModel(this))
{
    setObjectName(QStringLiteral("Card_Image"));
    setCaption(this, applicationTitle());
    setWindowIcon(QIcon(QStringLiteral(":/pictures/card_image.ico")));
    resize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    createControls();
    setFocusOrder();
    connectEvents();
    nameControlsWithoutCaption(m_controls);
    describeControlsByName(this);
}

CardImageWindow::~CardImageWindow() = default;

void CardImageWindow::createControls()
{
    createQueryControls();
    createResultLists();
    createDetailPanel();
}

void CardImageWindow::createQueryControls()
{
    MainControls& c = m_controls;
    c.Label1[0] = place(plainLabel(this, QStringLiteral("日期選擇：")), indexed("Label1", 0), 180,
                        270, 915, 285);
    c.DTPicker1 = place(new DatePicker(this), QStringLiteral("DTPicker1"), 1170, 225, 1455, 330);
    c.DTPicker1->setCalendarPopup(true);
    c.DTPicker1->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    c.Check1 = place(new QCheckBox(this), QStringLiteral("Check1"), 225, 675, 240, 285);
    c.Label1[1] =
        place(plainLabel(this, QStringLiteral("卡號：")), indexed("Label1", 1), 540, 720, 600, 240);
    c.Text2 = place(new QLineEdit(this), QStringLiteral("Text2"), 1170, 675, 1410, 330);
    c.Label1[2] = place(plainLabel(this, QStringLiteral("進出選擇：")), indexed("Label1", 2), 180,
                        1260, 915, 240);

    c.directionGroup = new QButtonGroup(this);
    const std::array<QString, 3> directionCaptions = {QStringLiteral("進"), QStringLiteral("出"),
                                                      QStringLiteral("全選")};
    const std::array<QRect, 3> directionTwips = {
        QRect(1170, 1125, 555, 240), QRect(1800, 1125, 555, 240), QRect(1170, 1395, 735, 240)};
    for (int i = 0; i < 3; ++i) {
        const QRect& r = directionTwips[static_cast<size_t>(i)];
        c.Option1[static_cast<size_t>(i)] =
            place(new QRadioButton(directionCaptions[static_cast<size_t>(i)], this),
                  indexed("Option1", i), r.x(), r.y(), r.width(), r.height());
        c.directionGroup->addButton(c.Option1[static_cast<size_t>(i)], i);
    }

    c.Command2 = place(commandButton(this, QStringLiteral("查詢"), kQueryButtonColour),
                       QStringLiteral("Command2"), 3540, 225, 855, 420);
    c.Command1 = place(commandButton(this, QStringLiteral("清除"), kClearButtonColour),
                       QStringLiteral("Command1"), 3540, 630, 855, 420);
    c.Command3 = place(commandButton(this, QStringLiteral("參數檔載入"), kLoadButtonColour),
                       QStringLiteral("Command3"), 3540, 1125, 855, 420);
}

void CardImageWindow::createResultLists()
{
    MainControls& c = m_controls;
    c.Label2[0] = place(headingLabel(this, QStringLiteral("時間")), indexed("Label2", 0), 135, 1665,
                        1185, 240);
    c.Label3 = place(headingLabel(this, QStringLiteral("卡號")), QStringLiteral("Label3"), 1305,
                     1665, 1320, 240);
    c.Label4 = place(headingLabel(this, QStringLiteral("姓名")), QStringLiteral("Label4"), 2625,
                     1665, 1140, 240);
    c.Label5 = place(headingLabel(this, QStringLiteral("進出")), QStringLiteral("Label5"), 3765,
                     1665, 630, 240);

    const std::array<QRect, 4> listTwips = {
        QRect(135, 1890, 1170, 1860), QRect(1290, 1890, 1320, 1860), QRect(2610, 1890, 1155, 1860),
        QRect(3750, 1890, 630, 1860)};
    for (int k = 0; k < 4; ++k) {
        const QRect& r = listTwips[static_cast<size_t>(k)];
        auto* list = place(new RecordListView(this), indexed("List1", k), r.x(), r.y(), r.width(),
                           r.height());
        list->setModel(m_records);
        list->setModelColumn(k);
        c.List1[static_cast<size_t>(k)] = list;
    }
    keepListsScrollingInStep();
}

void CardImageWindow::keepListsScrollingInStep()
{
    // One scroll bar, on the last column, moves all four; the others would only repeat it.
    const auto& lists = m_controls.List1;
    for (RecordListView* list : lists) {
        if (list != lists.back())
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        for (RecordListView* other : lists) {
            if (other != list)
                connect(list->verticalScrollBar(), &QScrollBar::valueChanged,
                        other->verticalScrollBar(), &QScrollBar::setValue);
        }
    }
}

void CardImageWindow::createDetailPanel()
{
    MainControls& c = m_controls;
    c.Label1[3] = place(plainLabel(this, QStringLiteral("影像資料：")), indexed("Label1", 3), 4575,
                        225, 915, 285);
    c.Label2[1] = place(headingLabel(this, QStringLiteral("時間")), indexed("Label2", 1), 4590, 540,
                        915, 240);
    c.Label7 = place(headingLabel(this, QStringLiteral("卡號")), QStringLiteral("Label7"), 4590,
                     765, 915, 240);
    c.Label8 = place(headingLabel(this, QStringLiteral("姓名/狀態")), QStringLiteral("Label8"),
                     4590, 990, 915, 240);
    c.Label10 = place(headingLabel(this, QStringLiteral("影像類別")), QStringLiteral("Label10"),
                      4590, 1215, 915, 240);
    const std::array<int, 4> valueTops = {540, 765, 990, 1215};
    for (int i = 0; i < 4; ++i)
        c.Label9[static_cast<size_t>(i)] = place(valueLabel(this), indexed("Label9", i), 5490,
                                                 valueTops[static_cast<size_t>(i)], 2355, 240);

    c.Image1 = place(pictureBox(this, QStringLiteral(":/pictures/start.jpg")),
                     QStringLiteral("Image1"), 4575, 1635, 3300, 2175);
    c.Image1->setFrameStyle(QFrame::Box | QFrame::Plain);
    c.Image2 = place(pictureBox(this, QStringLiteral(":/pictures/no_photo.gif")),
                     QStringLiteral("Image2"), 7425, 135, 420, 375);
    c.Image2->hide();

    c.Label6 = place(new QLabel(this), QStringLiteral("Label6"), 5265, 45, 2670, 465);
    c.Label6->setAlignment(Qt::AlignCenter);
    c.Label6->setFont(mingFont(20.25));
    QPalette statusPalette = c.Label6->palette();
    statusPalette.setColor(QPalette::WindowText, kStatusText);
    c.Label6->setPalette(statusPalette);

    c.Timer1 = new QTimer(this);
    c.Timer1->setObjectName(QStringLiteral("Timer1"));
    c.Timer1->setInterval(kPlaybackIntervalMs);

    // While the frame is dragged the box changes size many times; decode once it rests.
    m_photoResize = new QTimer(this);
    m_photoResize->setSingleShot(true);
    m_photoResize->setInterval(kPhotoResizeDelayMs);
}

void CardImageWindow::setFocusOrder()
{
    const MainControls& c = m_controls;
    const std::array<QWidget*, 13> order = {
        c.Option1[0], c.Option1[1], c.Option1[2], c.Command1, c.Check1,   c.Text2,   c.Command2,
        c.DTPicker1,  c.List1[0],   c.Command3,   c.List1[1], c.List1[2], c.List1[3]};
    for (size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void CardImageWindow::connectEvents()
{
    const MainControls& c = m_controls;
    connect(c.Command1, &QPushButton::clicked, this, &CardImageWindow::Command1_Click);
    connect(c.Command2, &QPushButton::clicked, this, &CardImageWindow::Command2_Click);
    connect(c.Command3, &QPushButton::clicked, this, &CardImageWindow::Command3_Click);
    connect(c.Timer1, &QTimer::timeout, this, &CardImageWindow::Timer1_Timer);
    connect(m_photoResize, &QTimer::timeout, this,
            [this] { redecodeShownPhoto(m_controls, m_state); });
    for (int k = 0; k < 4; ++k) {
        RecordListView* list = c.List1[static_cast<size_t>(k)];
        connect(list, &RecordListView::mousePressed, this, [this, k] { rec_show(k); });
        connect(list, &RecordListView::keyReleased, this, [this, k] { rec_show(k); });
    }
}

void CardImageWindow::runStartup()
{
    runStartup(StartupOptions{});
}

void CardImageWindow::runStartup(const StartupOptions& options)
{
    m_controls.DTPicker1->setDate(QDate::currentDate());
    m_controls.Option1[2]->setChecked(true);
    // Creating the native window lets platforms that know their frame include it already.
    winId();
    m_state.base_height = toBaseTwips(frameGeometry().height());
    m_state.base_width = toBaseTwips(frameGeometry().width());
    m_baseHasFrame = frameGeometry().size() != size();
    m_controls.Label6->raise();
    m_controls.Option1[2]->setFocus();
    centreOnScreen(*this);
    if (options.parameterFile.isEmpty()) {
        Command3_Click();
        return;
    }
    const bool loaded = loadParameterFile(options.parameterFile,
                                          {{},
                                           [this](const QString& path) { return para_read(path); },
                                           [this] { return caption(this); },
                                           [this](const QString& text) {
                                               setCaption(this, text);
                                           }});
    if (!loaded || !options.queries())
        return;
    if (options.date)
        m_controls.DTPicker1->setDate(*options.date);
    if (options.card) {
        m_controls.Check1->setChecked(true);
        m_controls.Text2->setText(*options.card);
    }
    if (options.direction) {
        const int option = *options.direction == StartupDirection::In    ? 0
                           : *options.direction == StartupDirection::Out ? 1
                                                                         : 2;
        m_controls.Option1[static_cast<size_t>(option)]->setChecked(true);
    }
    Command2_Click();
}

bool CardImageWindow::para_read(const QString& para_fname)
{
    if (readParameterFile(para_fname, m_state.para))
        return true;
    showMessage(this, QStringLiteral("不正確參數檔"));
    return false;
}

void CardImageWindow::Command1_Click()
{
    // The four lists show one model: emptying it empties all four in one step.
    m_records->clear();
}

void CardImageWindow::Command2_Click()
{
    Command1_Click();
    m_controls.Label6->setText(QString());
    const QDate date = m_controls.DTPicker1->date();
    m_state.cur_rec[kCurRecDate] = curRecDate(date);
    const QString path = recordFilePath(m_state.para[kRecordsFolderSlot], date);
    if (!fileExists(path)) {
        m_controls.Label6->setText(QStringLiteral("紀錄不存在"));
        return;
    }
    if (showRecordFile(*m_records, path, queryCriteria(m_controls)) != FileReadStatus::Ok)
        showMessage(this, QStringLiteral("紀錄檔無法讀取") + u'\n' + path);
}

void CardImageWindow::Command3_Click()
{
    DialogPara& dialog_para = Module1::dialog_para();
    runLoadCommand(dialog_para,
                   {[this, &dialog_para] { FileSelectDialog::showModal(dialog_para, this); },
                    [this](const QString& path) { return para_read(path); },
                    [this] { return caption(this); },
                    [this](const QString& text) {
                        setCaption(this, text);
                    }});
}

void CardImageWindow::rec_show(int list_no)
{
    showSelectedRecord(m_controls, m_state, list_no);
}

void CardImageWindow::Timer1_Timer()
{
    showNextFrame(m_controls, m_state);
}

void CardImageWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    followWindowSize();
}

void CardImageWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // On X11 the frame becomes known only after the pass of the first showing; the window's
    // first activation lays it out again, frame included.
    if (event->type() == QEvent::ActivationChange && !m_baseHasFrame && isVisible())
        followWindowSize();
    // A restore from minimized raises no resize when the size stayed; a size that changed while
    // minimized is laid out now.
    if (event->type() == QEvent::WindowStateChange &&
        static_cast<QWindowStateChangeEvent*>(event)->oldState().testFlag(Qt::WindowMinimized) &&
        !isMinimized())
        followWindowSize();
}

// One layout pass for the window's size at this moment. Restoring the size raises another
// resize event, whose pass then lays out for the restored size.
void CardImageWindow::followWindowSize()
{
    countLateFrameInBaseSize();
    const MainControls& c = m_controls;
    const QSize photoBoxBefore = c.Image1->size();
    const QSize outer = frameGeometry().size();
    MainLayoutInput input;
    input.state = isMinimized()   ? WindowShowState::Minimized
                  : isMaximized() ? WindowShowState::Maximized
                                  : WindowShowState::Normal;
    input.width = pixelsToTwips(outer.width());
    input.height = pixelsToTwips(outer.height());
    input.base_width = m_state.base_width;
    input.base_height = m_state.base_height;
    input.list_top = pixelsToTwips(c.List1[0]->y());
    input.image_top = pixelsToTwips(c.Image1->y());
    input.image_left = pixelsToTwips(c.Image1->x());
    const MainLayout layout = compute_main_layout(input);

    switch (layout.height.kind) {
    case HeightAction::Kind::None:
        break;
    case HeightAction::Kind::RestoreWindowHeight:
        resize(width(), height() + twipsToPixels(m_state.base_height) - outer.height());
        break;
    case HeightAction::Kind::SetHeights:
        for (RecordListView* list : c.List1)
            list->resize(list->width(), twipsToPixels(layout.height.list_height));
        c.Image1->resize(c.Image1->width(), twipsToPixels(layout.height.image_height));
        break;
    }
    // The width action reads the window as it is now: a nested pass may have changed it.
    switch (layout.width.kind) {
    case WidthAction::Kind::None:
        break;
    case WidthAction::Kind::RestoreWindowWidth:
        resize(width() + twipsToPixels(m_state.base_width) - frameGeometry().width(), height());
        break;
    case WidthAction::Kind::SetImageWidth:
        c.Image1->resize(twipsToPixels(layout.width.image_width), c.Image1->height());
        break;
    }
    if (c.Image1->size() != photoBoxBefore)
        m_photoResize->start();
}

// The base size is the outer size at creation. Where the window manager frames the window only
// once it is shown (X11), the first reading lacks the frame: it is added once, as soon as a pass
// sees it, so that the window springs back to the size it opened with.
void CardImageWindow::countLateFrameInBaseSize()
{
    const QSize frame = frameGeometry().size() - size();
    if (m_baseHasFrame || frame.isNull())
        return;
    m_state.base_width = static_cast<qint16>(m_state.base_width + toBaseTwips(frame.width()));
    m_state.base_height = static_cast<qint16>(m_state.base_height + toBaseTwips(frame.height()));
    m_baseHasFrame = true;
}

} // namespace card
