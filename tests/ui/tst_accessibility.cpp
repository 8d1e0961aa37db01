// Keyboard and screen-reader access to both windows: the focus order, and what an
// accessibility client reads as each control's name and description.
#include "support/modal_script.h"
#include "ui/file_select/file_select_dialog.h"
#include "ui/main_window/card_image_window.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <memory>

using card::CardImageWindow;
using card::FileSelectDialog;
using card::FileSelectExchange;
using card::FileSelectMode;

namespace {

const QString kMainWindow = QStringLiteral("main window");

// The main window after a startup whose dialog was cancelled, or the dialog in the given mode:
// "load", "folder" or "general".
std::unique_ptr<QWidget> openWindow(const QString& window, FileSelectExchange& exchange)
{
    if (window == kMainWindow) {
        auto main = std::make_unique<CardImageWindow>();
        card::test::ModalScript modals;
        modals.press(QStringLiteral("Command1(2)"));
        main->runStartup();
        return main;
    }
    const FileSelectMode mode = window == u"load"     ? FileSelectMode::Load
                                : window == u"folder" ? FileSelectMode::Folder
                                                      : FileSelectMode::General;
    exchange.request(QStringLiteral("t"), mode);
    return std::make_unique<FileSelectDialog>(exchange, nullptr);
}

QString focusName()
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
}

// The widgets that carry a control name; Qt's own inner parts are named qt_*.
QList<QWidget*> namedControls(QWidget* window)
{
    QList<QWidget*> controls{window};
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(u"qt_"))
            controls.append(child);
    }
    return controls;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void focusOrder_data();
    void focusOrder();
    void namesAndDescriptions_data();
    void namesAndDescriptions();
};

void TestAccessibility::focusOrder_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<QStringList>("order"); // first the control focused on opening

    const QStringList main = {"Option1(2)", "Command1",  "Check1",   "Text2",
                              "Command2",   "DTPicker1", "List1(0)", "Command3",
                              "List1(1)",   "List1(2)",  "List1(3)", "Option1(2)"};
    QStringList mainBackwards = main;
    std::reverse(mainBackwards.begin(), mainBackwards.end());
    QTest::newRow("main window, Tab") << kMainWindow << false << main;
    QTest::newRow("main window, Shift+Tab") << kMainWindow << true << mainBackwards;
    // The folder buttons lie under the file list but keep their places in the order.
    QTest::newRow("dialog in load mode, Tab")
        << "load" << false
        << QStringList{"File1", "Drive1",  "Dir1",    "Command1(1)", "Command1(2)",
                       "Text1", "Cmd_Add", "Cmd_Del", "File1"};
    QTest::newRow("dialog in general mode, Tab")
        << "general" << false
        << QStringList{"File1",       "Drive1", "Dir1",    "Command1(0)", "Command1(1)",
                       "Command1(2)", "Text1",  "Cmd_Add", "Cmd_Del",     "File1"};
    QTest::newRow("dialog in folder mode, Tab")
        << "folder" << false << QStringList{"Drive1",  "Dir1",    "Command1(1)", "Command1(2)",
                                            "Cmd_Add", "Cmd_Del", "Drive1"};
}

void TestAccessibility::focusOrder()
{
    QFETCH(QString, window);
    QFETCH(bool, backwards);
    QFETCH(QStringList, order);
    FileSelectExchange exchange;
    const std::unique_ptr<QWidget> opened = openWindow(window, exchange);
    opened->show();
    QVERIFY(QTest::qWaitForWindowActive(opened.get()));

    QStringList seen{focusName()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        seen.append(focusName());
    }
    QCOMPARE(seen, order);
}

void TestAccessibility::namesAndDescriptions_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window") << kMainWindow;
    QTest::newRow("dialog in general mode") << "general";
    QTest::newRow("dialog in folder mode") << "folder";
}

// Each control is described by its control name and has a name: a label's is its text, as
// shown; a control without text of its own is named by its role in words.
void TestAccessibility::namesAndDescriptions()
{
    QFETCH(QString, window);
    FileSelectExchange exchange;
    const std::unique_ptr<QWidget> opened = openWindow(window, exchange);
    const QList<QWidget*> controls = namedControls(opened.get());
    QVERIFY(controls.size() > 10);
    for (QWidget* control : controls) {
        const QString name = control->objectName();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        QVERIFY2(accessible, qPrintable(name));
        QCOMPARE(accessible->text(QAccessible::Description), name);
        const auto* label = qobject_cast<QLabel*>(control);
        if (label && !label->text().isEmpty()) {
            QVERIFY2(label->accessibleName().isEmpty(), qPrintable(name));
            QCOMPARE(accessible->text(QAccessible::Name), label->text());
        } else if (!label || !label->pixmap().isNull()) {
            QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(), qPrintable(name));
        }
    }
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
