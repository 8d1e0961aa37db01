#include "ui/main_window/card_image_window.h"

#include "core/platform/twips.h"
#include "core/records/record_table_model.h"
#include "support/modal_script.h"
#include "support/record_table_text.h"
#include "ui/main_window/record_list_view.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using card::CardImageWindow;

class TestCardImageWindow : public QObject {
    Q_OBJECT
private slots:
    void initialStateAfterStartup();
    void controlsAreFoundByName_data();
    void controlsAreFoundByName();
    void geometryInTwips_data();
    void geometryInTwips();
    void colours();
    void baseSizeIsTheSizeAtCreation();
    void eachListShowsItsOwnColumn();
    void datePickerPartsByKeyboard();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void listsScrollInStep_data();
    void listsScrollInStep();
    void listsAndPhotoBoxFollowTheWindow_data();
    void listsAndPhotoBoxFollowTheWindow();
};

void TestCardImageWindow::initialStateAfterStartup()
{
    CardImageWindow window;
    card::test::ModalScript modals;
    modals.press("Command1(2)");
    window.runStartup();
    QCOMPARE(modals.seen().size(), 1);
    QCOMPARE(modals.seen().first().objectName, QStringLiteral("file_select"));
    const auto& c = window.controls();
    QCOMPARE(window.windowTitle(), QStringLiteral("刷卡影像資料查詢"));
    QCOMPARE(c.datePicker->date(), QDate::currentDate());
    QVERIFY(c.directionOptions[2]->isChecked());
    QVERIFY(!c.directionOptions[0]->isChecked() && !c.directionOptions[1]->isChecked());
    QVERIFY(!c.cardFilterCheck->isChecked());
    QVERIFY(c.cardNumberEdit->text().isEmpty());
    for (auto* list : c.resultLists)
        QCOMPARE(list->model()->rowCount(), 0);
    QVERIFY(c.statusLine->text().isEmpty());
    for (auto* label : c.detailValues)
        QVERIFY(label->text().isEmpty());
    QVERIFY(!c.playbackTimer->isActive());
    QCOMPARE(c.playbackTimer->interval(), 1000);
    const QImage start = c.photoBox->pixmap().toImage();
    QCOMPARE(start.size(), QSize(320, 240));
    QCOMPARE(c.fallbackPicture->pixmap().size(), QSize(100, 100));
    QVERIFY(c.fallbackPicture->isHidden());
    const card::CurrentRecord& record = window.state().currentRecord;
    for (const QString* slot : {&record.day, &record.time, &record.card, &record.photoPath})
        QVERIFY(slot->isEmpty());
    for (const QString& slot : window.state().parameters)
        QVERIFY(slot.isEmpty());
}

void TestCardImageWindow::controlsAreFoundByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::newRow("date picker") << "DTPicker1"
                                 << "card::DatePicker";
    QTest::newRow("card switch") << "Check1"
                                 << "QCheckBox";
    QTest::newRow("card text") << "Text2"
                               << "QLineEdit";
    QTest::newRow("option in") << "Option1(0)"
                               << "QRadioButton";
    QTest::newRow("option all") << "Option1(2)"
                                << "QRadioButton";
    QTest::newRow("query") << "Command2"
                           << "QPushButton";
    QTest::newRow("list 0") << "List1(0)"
                            << "card::RecordListView";
    QTest::newRow("list 3") << "List1(3)"
                            << "card::RecordListView";
    QTest::newRow("status") << "Label6"
                            << "QLabel";
    QTest::newRow("info 3") << "Label9(3)"
                            << "QLabel";
    QTest::newRow("photo box") << "Image1"
                               << "QLabel";
    QTest::newRow("timer") << "Timer1"
                           << "QTimer";
}

void TestCardImageWindow::controlsAreFoundByName()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    CardImageWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("Card_Image"));
    QObject* control = window.findChild<QObject*>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY2(control->inherits(qPrintable(className)), control->metaObject()->className());
}

void TestCardImageWindow::geometryInTwips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("date picker") << "DTPicker1" << QRect(1170, 225, 1455, 330);
    QTest::newRow("out option") << "Option1(1)" << QRect(1800, 1125, 555, 240);
    QTest::newRow("load button") << "Command3" << QRect(3540, 1125, 855, 420);
    QTest::newRow("name heading") << "Label4" << QRect(2625, 1665, 1140, 240);
    QTest::newRow("status") << "Label6" << QRect(5265, 45, 2670, 465);
    QTest::newRow("info 2") << "Label9(2)" << QRect(5490, 990, 2355, 240);
    QTest::newRow("hidden fallback") << "Image2" << QRect(7425, 135, 420, 375);
}

void TestCardImageWindow::geometryInTwips()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    CardImageWindow window;
    auto* control = window.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(),
             card::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
}

void TestCardImageWindow::colours()
{
    CardImageWindow window;
    const auto& c = window.controls();
    QCOMPARE(c.queryButton->palette().color(QPalette::Button), QColor(255, 255, 128));
    QCOMPARE(c.clearButton->palette().color(QPalette::Button), QColor(192, 255, 192));
    QCOMPARE(c.loadButton->palette().color(QPalette::Button), QColor(255, 192, 128));
    QCOMPARE(window.findChild<QLabel*>("Label3")->palette().color(QPalette::Window),
             QColor(224, 224, 224));
    QCOMPARE(c.statusLine->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(c.statusLine->font().bold());
    QCOMPARE(c.statusLine->font().pointSizeF(), 20.25);
    QCOMPARE(c.statusLine->alignment(), Qt::AlignCenter);
}

void TestCardImageWindow::baseSizeIsTheSizeAtCreation()
{
    CardImageWindow window;
    card::test::ModalScript modals;
    modals.press("Command1(2)");
    window.runStartup();
    QCOMPARE(modals.seen().size(), 1);
    QVERIFY(window.state().baseWidth >= 8010);
    QVERIFY(window.state().baseHeight >= 4155);
    const qint16 baseWidth = window.state().baseWidth;
    const qint16 baseHeight = window.state().baseHeight;
    window.show();
    window.resize(800, 600);
    window.showMaximized();
    QCOMPARE(window.state().baseWidth, baseWidth);
    QCOMPARE(window.state().baseHeight, baseHeight);
}

void TestCardImageWindow::datePickerPartsByKeyboard()
{
    CardImageWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QDateEdit* picker = window.controls().datePicker;
    picker->setFocus(Qt::TabFocusReason);
    QCOMPARE(picker->currentSection(), QDateTimeEdit::YearSection);
    QTest::keyClick(picker, Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(picker->currentSection(), QDateTimeEdit::MonthSection);
    QTest::keyClick(picker, Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(picker->currentSection(), QDateTimeEdit::DaySection);
    QTest::keyClick(picker, Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(picker->currentSection(), QDateTimeEdit::MonthSection);
    QVERIFY(picker->hasFocus());
    QTest::keyClick(picker, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("List1(0)"));
}

// Each list holds its own column only, for the eye and for a screen reader alike.
void TestCardImageWindow::eachListShowsItsOwnColumn()
{
    CardImageWindow window;
    window.records().setTable(card::test::recordTableFromText(
        QByteArrayLiteral("08:15:30,\"00012345\",\"Chen\",\"in\"\n"
                          "09:00:00,\"00067890\",\"Lin\",\"out\"\n")));
    const QList<QStringList> columns = {
        {"08:15:30", "09:00:00"}, {"00012345", "00067890"}, {"Chen", "Lin"}, {"in", "out"}};
    for (int k = 0; k < 4; ++k) {
        QAccessibleInterface* list =
            QAccessible::queryAccessibleInterface(window.controls().resultLists[size_t(k)]);
        QVERIFY(list && list->tableInterface());
        QCOMPARE(list->tableInterface()->columnCount(), 1);
        QCOMPARE(list->tableInterface()->rowCount(), 2);
        for (int row = 0; row < 2; ++row)
            QCOMPARE(list->tableInterface()->cellAt(row, 0)->text(QAccessible::Name),
                     columns[k][row]);
    }
}

void TestCardImageWindow::listsAndPhotoBoxFollowTheWindow_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<bool>("whileMinimized"); // resized while minimized, then restored
    QTest::newRow("larger") << QSize(700, 450) << false;
    QTest::newRow("lower than the base") << QSize(700, 200) << false;
    QTest::newRow("narrower than the base") << QSize(400, 450) << false;
    QTest::newRow("smaller in both") << QSize(100, 100) << false;
    QTest::newRow("larger while minimized") << QSize(800, 600) << true;
}

void TestCardImageWindow::listsAndPhotoBoxFollowTheWindow()
{
    QFETCH(QSize, requested);
    QFETCH(bool, whileMinimized);
    CardImageWindow window;
    card::test::ModalScript modals;
    modals.press("Command1(2)");
    window.runStartup();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QSize frame = window.frameGeometry().size() - window.size();
    const QSize base(card::twipsToPixels(window.state().baseWidth),
                     card::twipsToPixels(window.state().baseHeight));
    const QSize expected = (requested + frame).expandedTo(base);
    if (whileMinimized)
        window.showMinimized();
    window.resize(requested);
    if (whileMinimized)
        window.showNormal();
    QTRY_COMPARE(window.frameGeometry().size(), expected);
    const auto& c = window.controls();
    const auto twips = [](int pixels) {
        return card::pixelsToTwips(pixels);
    };
    for (auto* list : c.resultLists) {
        QCOMPARE(list->height(), card::twipsToPixels(twips(expected.height()) - 2590));
        QCOMPARE(list->y(), card::twipsToPixels(1890));
    }
    QCOMPARE(c.photoBox->height(), card::twipsToPixels(twips(expected.height()) - 2335));
    QCOMPARE(c.photoBox->width(), card::twipsToPixels(twips(expected.width()) - 4925));
    QCOMPARE(c.photoBox->pos(), QPoint(card::twipsToPixels(4575), card::twipsToPixels(1635)));
    QCOMPARE(c.resultLists[0]->width(), card::twipsToPixels(1170));
}

void TestCardImageWindow::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    for (const char* button : {"Command1", "Command2", "Command3"}) {
        QTest::addRow("%s Enter", button) << button << Qt::Key_Return << Qt::KeyboardModifiers();
        QTest::addRow("%s keypad Enter", button)
            << button << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
}

void TestCardImageWindow::enterPressesTheFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    CardImageWindow window;
    window.show();
    auto* pushButton = window.findChild<QPushButton*>(button);
    QVERIFY(pushButton);
    pushButton->setFocus();
    card::test::ModalScript modals; // the dialog of the load button
    modals.press("Command1(2)");
    QSignalSpy clicked(pushButton, &QPushButton::clicked);
    QTest::keyClick(pushButton, key, modifiers);
    QVERIFY(clicked.wait());
    QCOMPARE(clicked.size(), 1);
}

void TestCardImageWindow::listsScrollInStep_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::newRow("pages down in the time list") << 0 << int(Qt::Key_PageDown) << 3;
    QTest::newRow("end in the name list") << 2 << int(Qt::Key_End) << 1;
    QTest::newRow("pages down in the direction list") << 3 << int(Qt::Key_PageDown) << 3;
}

void TestCardImageWindow::listsScrollInStep()
{
    QFETCH(int, list);
    QFETCH(int, key);
    QFETCH(int, presses);
    QByteArray day;
    for (int i = 0; i < 1000; ++i)
        day += QByteArray::number(i) + ",\"card\",\"name\",\"in\"\r\n";
    CardImageWindow window;
    window.records().setTable(card::test::recordTableFromText(day));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto& lists = window.controls().resultLists;
    lists[static_cast<size_t>(list)]->setFocus();
    lists[static_cast<size_t>(list)]->setCurrentIndex(
        lists[static_cast<size_t>(list)]->model()->index(0, 0));
    for (int i = 0; i < presses; ++i)
        QTest::keyClick(lists[static_cast<size_t>(list)], Qt::Key(key));
    const int scrolled = lists[0]->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    for (card::RecordListView* view : lists) {
        QCOMPARE(view->verticalScrollBar()->value(), scrolled);
        QCOMPARE(view->indexAt(QPoint(2, 2)).row(), lists[0]->indexAt(QPoint(2, 2)).row());
    }
    // The wheel over any list moves all four.
    QWheelEvent wheel(QPointF(5, 5), lists[1]->viewport()->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(lists[1]->viewport(), &wheel);
    for (card::RecordListView* view : lists)
        QCOMPARE(view->verticalScrollBar()->value(), lists[1]->verticalScrollBar()->value());
}

QTEST_MAIN(TestCardImageWindow)
#include "tst_card_image_window.moc"
