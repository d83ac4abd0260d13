// The main toolbar: its buttons in order with keys and tooltips, which are
// two-state, the RowMode/BlockMode group, the click reporting the key, and the
// "Rows"/"Cols" boxes with their spin buttons.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "ui/main_toolbar.h"
#include "ui/size_boxes.h"
#include "ui/spin_buttons.h"
#include "ui/toolbar_icons.h"

class MainToolbarTest : public QObject {
    Q_OBJECT

  private slots:
    void keysInOrder();
    void tooltips_data();
    void tooltips();
    void clickReportsKeyAndFlipsTwoStateButtons();
    void modeButtonsFormAGroup();
    void sizeBoxes();
    void everyButtonHasAPicture();
    void fontColorPicturesDiffer();
};

void MainToolbarTest::keysInOrder() {
    ui::MainToolbar bar;
    QCOMPARE(bar.keys(),
             (QStringList{"New", "Open", "Save", "Cut", "Copy", "Paste", "Bold", "Italic",
                          "Underline", "A", "Acolor", "RowMode", "BlockMode", "DragMode",
                          "AlternateColor", "Merge", "Flag", "Statistics", "Barchart"}));
    QCOMPARE(bar.objectName(), QStringLiteral("Toolbar"));
    QVERIFY(!bar.button("NoSuchKey"));
}

void MainToolbarTest::tooltips_data() {
    QTest::addColumn<QString>("tip");
    QTest::addColumn<bool>("twoState");
    const struct {
        const char* key;
        const char* tip;
        bool twoState;
    } rows[] = {
        {"New", "New", false},
        {"Open", "Open", false},
        {"Save", "", false},
        {"Cut", "", false},
        {"Copy", "Copy", false},
        {"Paste", "", false},
        {"Bold", "Bold", true},
        {"Italic", "Italic", true},
        {"Underline", "Underline", true},
        {"A", "Current Font Color", false},
        {"Acolor", "Set Font Color", false},
        {"RowMode", "Row and Find Mode", true},
        {"BlockMode", "Block and Edit Mode", true},
        {"DragMode", "Toggle Drag Mode", true},
        {"AlternateColor", "Toggle Alternate Color", true},
        {"Merge", "Toggle Merge Column Cells", false},
        {"Flag", "Toggle Flag", false},
        {"Statistics", "Column Statistics", true},
        {"Barchart", "Toggle Column Bar Chart", false},
    };
    for (const auto& r : rows) {
        QTest::newRow(r.key) << QString::fromLatin1(r.tip) << r.twoState;
    }
}

void MainToolbarTest::tooltips() {
    ui::MainToolbar bar;
    const QString key = QString::fromLatin1(QTest::currentDataTag());
    QAction* button = bar.button(key);
    QVERIFY(button);
    QTEST(button->toolTip(), "tip");
    QTEST(button->isCheckable(), "twoState");
    QCOMPARE(button->data().toString(), key);
}

void MainToolbarTest::clickReportsKeyAndFlipsTwoStateButtons() {
    ui::MainToolbar bar;
    bar.show();
    QSignalSpy spy(&bar, &ui::MainToolbar::buttonClicked);
    auto* bold = qobject_cast<QToolButton*>(bar.widgetForAction(bar.button("Bold")));
    QVERIFY(bold);
    QTest::mouseClick(bold, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Bold"));
    QVERIFY(bar.isPressed("Bold"));
    QTest::mouseClick(bold, Qt::LeftButton);
    QVERIFY(!bar.isPressed("Bold"));
    bar.button("Open")->trigger();
    QCOMPARE(spy.last().at(0).toString(), QStringLiteral("Open"));
    QVERIFY(!bar.isPressed("Open"));
    bar.setPressed("DragMode", true);
    QVERIFY(bar.isPressed("DragMode"));
    QCOMPARE(spy.count(), 3);  // showing a state runs nothing
}

void MainToolbarTest::modeButtonsFormAGroup() {
    ui::MainToolbar bar;
    QVERIFY(bar.isPressed("RowMode"));
    QVERIFY(!bar.isPressed("BlockMode"));
    bar.button("BlockMode")->trigger();
    QVERIFY(bar.isPressed("BlockMode"));
    QVERIFY(!bar.isPressed("RowMode"));
    bar.setPressed("RowMode", true);
    QVERIFY(!bar.isPressed("BlockMode"));
}

void MainToolbarTest::sizeBoxes() {
    ui::MainToolbar bar;
    ui::SizeBoxes* boxes = bar.sizeBoxes();
    QVERIFY(boxes);
    QCOMPARE(boxes->objectName(), QStringLiteral("SSPanel2"));
    QCOMPARE(boxes->rowsLabel->text(), QStringLiteral("Rows"));
    QCOMPARE(boxes->colsLabel->text(), QStringLiteral("Cols"));
    QCOMPARE(boxes->rowsLabel->objectName(), QStringLiteral("SSPanel1(0)"));
    QCOMPARE(boxes->rowsBox->objectName(), QStringLiteral("txtRow"));
    QCOMPARE(boxes->colsBox->objectName(), QStringLiteral("txtCol"));
    QSignalSpy up(boxes->rowsSpin, &ui::SpinButtons::upClicked);
    QSignalSpy down(boxes->colsSpin, &ui::SpinButtons::downClicked);
    boxes->rowsSpin->upButton()->click();
    boxes->colsSpin->downButton()->click();
    QCOMPARE(up.count(), 1);
    QCOMPARE(down.count(), 1);
}

void MainToolbarTest::everyButtonHasAPicture() {
    ui::MainToolbar bar;
    for (const QString& key : bar.keys()) {
        QVERIFY2(!bar.button(key)->icon().isNull(), qPrintable(key));
    }
    QVERIFY(ui::ToolbarIcons::button("NoSuchKey").isNull());
}

void MainToolbarTest::fontColorPicturesDiffer() {
    const QImage black = ui::ToolbarIcons::fontColor(0).pixmap(32).toImage();
    const QImage red = ui::ToolbarIcons::fontColor(1).pixmap(32).toImage();
    QVERIFY(black != red);
    QCOMPARE(ui::ToolbarIcons::swatchColor(1), 0x0000FF);
    QCOMPARE(ui::ToolbarIcons::swatchColor(7), 0xFF0000);
    QCOMPARE(ui::ToolbarIcons::swatchColor(8), 0);
}

QTEST_MAIN(MainToolbarTest)
#include "tst_main_toolbar.moc"
