#include "ui/common/control_table.h"

#include "core/platform/twips.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using card::ControlKind;
using card::ControlRow;

namespace {

// The caption as the widget shows it; empty for widgets without text.
QString shownText(QWidget* widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    return {};
}

} // namespace

class TestControlTable : public QObject {
    Q_OBJECT
private slots:
    void builtControl_data();
    void builtControl();
};

void TestControlTable::builtControl_data()
{
    QTest::addColumn<ControlKind>("kind");
    QTest::addColumn<bool>("hasCaption");
    QTest::addColumn<bool>("hasName");
    QTest::addColumn<QByteArray>("widgetClass");
    QTest::addColumn<QString>("text");

    QTest::newRow("label shows its caption")
        << ControlKind::Label << true << false << QByteArray("QLabel") << "標題";
    QTest::newRow("status label") << ControlKind::StatusLabel << true << false
                                  << QByteArray("QLabel") << "標題";
    QTest::newRow("check box") << ControlKind::CheckBox << true << false << QByteArray("QCheckBox")
                               << "標題";
    QTest::newRow("radio button") << ControlKind::RadioButton << true << false
                                  << QByteArray("QRadioButton") << "標題";
    QTest::newRow("push button") << ControlKind::PushButton << true << false
                                 << QByteArray("QPushButton") << "標題";
    QTest::newRow("line edit named by its role")
        << ControlKind::LineEdit << false << true << QByteArray("QLineEdit") << "";
    QTest::newRow("combo box") << ControlKind::ComboBox << false << true << QByteArray("QComboBox")
                               << "";
    QTest::newRow("list view") << ControlKind::ListView << false << true << QByteArray("QListView")
                               << "";
    // Kinds whose widgets belong to the owner come from its factory.
    QTest::newRow("date picker from the factory")
        << ControlKind::DatePicker << false << true << QByteArray("QDateEdit") << "";
}

void TestControlTable::builtControl()
{
    QFETCH(ControlKind, kind);
    QFETCH(bool, hasCaption);
    QFETCH(bool, hasName);
    QFETCH(QByteArray, widgetClass);
    QFETCH(QString, text);

    const ControlRow table[] = {
        {"Other1", ControlKind::Label, u"其他", {0, 0, 150, 150}, nullptr},
        {"Control1(2)",
         kind,
         hasCaption ? u"標題" : nullptr,
         {30, 45, 1500, 300},
         hasName ? u"角色名稱" : nullptr},
    };
    QWidget parent;
    int made = 0;
    const card::ControlFactory factory = [&made](const ControlRow& row, QWidget* owner) {
        ++made;
        return row.kind == ControlKind::DatePicker ? new QDateEdit(owner) : nullptr;
    };
    const card::PlacedControls placed = card::createControls(table, &parent, factory);

    QCOMPARE(made, 2);
    QWidget* control = placed.get<QWidget>("Control1(2)");
    QCOMPARE(control->parentWidget(), &parent);
    QCOMPARE(control->metaObject()->className(), widgetClass);
    QCOMPARE(control->objectName(), QStringLiteral("Control1(2)"));
    QCOMPARE(control->geometry(), QRect(2, 3, 100, 20));
    QCOMPARE(shownText(control), text);
    QCOMPARE(control->accessibleName(), hasName ? QStringLiteral("角色名稱") : QString());
    // Table order is stacking order: the later entry lies above the earlier one.
    QWidget* top = parent.childAt(5, 5);
    QVERIFY(top == control || control->isAncestorOf(top));
    QCOMPARE(placed.get<QLabel>("Other1")->text(), QStringLiteral("其他"));
}

QTEST_MAIN(TestControlTable)
#include "tst_control_table.moc"
