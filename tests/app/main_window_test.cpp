// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleHints>
#include <QtTest>

#include "app/line_widget.h"
#include "tests/app/app_fixture.h"

using namespace veltrane;
using namespace veltrane::testing;

Q_DECLARE_METATYPE(veltrane::SectionSize)

namespace {

MainWindow& ShowMain(App& app) {
    app.windows.showMainWindow();
    return Activated(app.windows.mainWindow());
}

QPushButton* Button(QWidget& w, const char* name) {
    return w.findChild<QPushButton*>(name);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallLookOnce(); }

    void layout();
    void dimensionTable_data();
    void dimensionTable();
    void tableAgreesWithTheCatalogue();
    void preselectedD120();
    void opensTheSelectedSize_data();
    void opensTheSelectedSize();
    void enterAndEscape();
    void enterOnExitEnds();
    void surfaceClicks_data();
    void surfaceClicks();
    void closeBoxEnds();
    void doubleClickTailIsNoExit();
    void reportClearedInputsKept();
    void windowsLiveOnWhileHidden();
};

void MainWindowTest::layout() {
    App app;
    MainWindow& m = app.windows.mainWindow();
    QCOMPARE(m.objectName(), QString("Form1"));
    QCOMPARE(m.windowTitle(), QString("Veltrane"));
    QCOMPARE(m.size(), QSize(424, 285));
    QCOMPARE(m.minimumSize(), m.maximumSize());
    QVERIFY(!(m.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(m.windowFlags() & Qt::WindowMaximizeButtonHint));
    auto* frame = m.findChild<QGroupBox*>("Frame1");
    QCOMPARE(frame->title(), QString("请选用常用装配式U形渠道构件"));
    QCOMPARE(frame->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    const char* captions[] = {" D60 U形", " D80 U形", " D100 U形", " D120 U形", " D140 U形"};
    for (int i = 0; i < kSectionCount; ++i) {
        QRadioButton* o = m.option(static_cast<SectionSize>(i));
        QCOMPARE(o->objectName(), QString("Option%1").arg(i + 1));
        QCOMPARE(o->text(), QString::fromUtf8(captions[i]));
        QCOMPARE(o->parentWidget(), frame);
        QCOMPARE(o->palette().color(QPalette::WindowText), QColor(255, 0, 255));
        QCOMPARE(o->palette().color(QPalette::Window), QColor(192, 192, 255));
    }
    QCOMPARE(Button(m, "Command1")->text(), QString("确定"));
    QCOMPARE(Button(m, "Command1")->toolTip(), QString("进入计算程序"));
    QVERIFY(Button(m, "Command1")->isDefault());
    QCOMPARE(Button(m, "Command2")->text(), QString("退出"));
    QCOMPARE(Button(m, "Command2")->toolTip(), QString("退出本软件"));
    // Outer box two pixels wide, inner rules one pixel, all purple.
    const auto lines = frame->findChildren<ui::LineWidget*>();
    QCOMPARE(lines.size(), 14);
    int wide = 0;
    for (const auto* l : lines) {
        QCOMPARE(l->colour(), QColor(192, 0, 192));
        wide += l->lineWidth() == 2 ? 1 : 0;
    }
    QCOMPARE(wide, 4);
}

void MainWindowTest::dimensionTable_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("topLeftTwips");
    QTest::addColumn<double>("pt");
    QTest::newRow("title") << "Label1"
                           << "常用U形构件主要尺寸" << QPoint(3000, 380) << 12.0;
    QTest::newRow("unit") << "Label2"
                          << "厘米" << QPoint(5500, 550) << 9.0;
    QTest::newRow("head size") << "Label3"
                               << "规格" << QPoint(2505, 855) << 10.5;
    QTest::newRow("head radius") << "Label18"
                                 << "半径" << QPoint(5520, 855) << 10.5;
    QTest::newRow("D60") << "Label4"
                         << "D60" << QPoint(2520, 1200) << 12.0;
    QTest::newRow("D140") << "Label8"
                          << "D140" << QPoint(2470, 2680) << 12.0;
    QTest::newRow("D120 depth") << "Label12"
                                << "90" << QPoint(3120, 2320) << 12.0;
    QTest::newRow("D100 width") << "Label26"
                                << "110" << QPoint(3790, 1920) << 12.0;
    QTest::newRow("D80 wall") << "Label30"
                              << "4.5" << QPoint(4440, 1560) << 12.0;
    QTest::newRow("D60 angle") << "Label34"
                               << "7" << QPoint(5150, 1200) << 12.0;
    QTest::newRow("D140 angle") << "Label38"
                                << "11" << QPoint(5050, 2680) << 12.0;
    QTest::newRow("D140 radius") << "Label23"
                                 << "70" << QPoint(5580, 2680) << 12.0;
}

void MainWindowTest::dimensionTable() {
    QFETCH(QString, name);
    QFETCH(QPoint, topLeftTwips);
    App app;
    auto* label = app.windows.mainWindow().findChild<QLabel*>(name);
    QVERIFY(label != nullptr);
    QTEST(label->text(), "text");
    QTEST(label->font().pointSizeF(), "pt");
    QCOMPARE(label->pos(), QPoint(ui::Px(topLeftTwips.x()), ui::Px(topLeftTwips.y())));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(label->palette().color(QPalette::Window), QColor(192, 255, 255));
}

// The table is display only, but it shows the catalogue's sizes.
void MainWindowTest::tableAgreesWithTheCatalogue() {
    App app;
    MainWindow& m = app.windows.mainWindow();
    for (int i = 0; i < kSectionCount; ++i) {
        const USection& s = LookupSection(static_cast<SectionSize>(i));
        const auto cell = [&](int base) {
            return m.findChild<QLabel*>(QString("Label%1").arg(base + i))->text().toDouble();
        };
        QCOMPARE(cell(9), s.channelDepth * 100);
        QCOMPARE(cell(19), s.radius * 100);
        QCOMPARE(cell(34), (180 - s.arcAngle) / 2);
    }
}

void MainWindowTest::preselectedD120() {
    App app;
    MainWindow& m = ShowMain(app);
    QCOMPARE(m.selectedSize(), std::optional<SectionSize>(SectionSize::U120));
    Button(m, "Command1")->click();
    CalculationWindow* u120 = app.windows.existingCalculationWindow(SectionSize::U120);
    QVERIFY(u120 != nullptr && u120->isVisible());
    QVERIFY(!m.isVisible());
}

void MainWindowTest::opensTheSelectedSize_data() {
    QTest::addColumn<SectionSize>("size");
    for (int i = 0; i < kSectionCount; ++i) {
        QTest::newRow(SectionName(static_cast<SectionSize>(i)).data())
            << static_cast<SectionSize>(i);
    }
}

void MainWindowTest::opensTheSelectedSize() {
    QFETCH(SectionSize, size);
    App app;
    MainWindow& m = ShowMain(app);
    m.option(size)->click();
    QTest::keyClick(m.option(size), Qt::Key_Return);
    CalculationWindow* w = app.windows.existingCalculationWindow(size);
    QVERIFY(w != nullptr);
    QVERIFY(w->isVisible());
    QVERIFY(!m.isVisible());
    QCOMPARE(w->reportText(), ReportHeader(size));
    QCOMPARE(VisibleWindows().size(), std::size_t{1});
    w->fanhui();
    QVERIFY(m.isVisible());
    QCOMPARE(m.selectedSize(), std::optional<SectionSize>(size));  // the choice survives
}

void MainWindowTest::enterAndEscape() {
    App app;
    MainWindow& m = ShowMain(app);
    QTest::keyClick(&m, Qt::Key_Escape);
    QVERIFY(m.isVisible());
    QCOMPARE(app.exitHook.calls, 0);
    Button(m, "Command1")->setFocus();
    QTest::keyClick(Button(m, "Command1"), Qt::Key_Enter);
    QVERIFY(!m.isVisible());
    QVERIFY(app.windows.existingCalculationWindow(SectionSize::U120)->isVisible());
}

void MainWindowTest::enterOnExitEnds() {
    App app;
    MainWindow& m = ShowMain(app);
    Button(m, "Command2")->setFocus();
    QTest::keyClick(Button(m, "Command2"), Qt::Key_Return);
    QCOMPARE(app.exitHook.calls, 1);
    QCOMPARE(app.exitHook.lastStatus, 0);
    QCOMPARE(app.windows.existingCalculationWindow(SectionSize::U120), nullptr);
}

void MainWindowTest::surfaceClicks_data() {
    QTest::addColumn<QPoint>("twips");
    QTest::addColumn<bool>("exits");
    QTest::newRow("below the frame, between the buttons") << QPoint(3000, 3850) << true;
    QTest::newRow("bottom right corner") << QPoint(6300, 4200) << true;
    QTest::newRow("left margin") << QPoint(40, 2000) << true;
    QTest::newRow("inside the frame") << QPoint(1500, 3300) << false;
    QTest::newRow("on a table label") << QPoint(3140, 1300) << false;  // "54"
    QTest::newRow("on a table line") << QPoint(2520, 780 + 120) << false;
    QTest::newRow("on the title label") << QPoint(3300, 500) << false;
    QTest::newRow("on an option") << QPoint(600, 2300) << false;
}

void MainWindowTest::surfaceClicks() {
    QFETCH(QPoint, twips);
    QFETCH(bool, exits);
    App app;
    MainWindow& m = ShowMain(app);
    const QPoint at(ui::Px(twips.x()), ui::Px(twips.y()));
    QWidget* target = m.childAt(at) != nullptr ? m.childAt(at) : &m;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&m, at));
    QCOMPARE(app.exitHook.calls, exits ? 1 : 0);
}

// The tail of a double-click on the button that showed the main window does
// not end the program; a click after the interval still does at once.
void MainWindowTest::doubleClickTailIsNoExit() {
    // Intervals far from the test's own pace, so that a loaded machine cannot
    // move a click to the other side of one.
    auto* hints = QGuiApplication::styleHints();
    hints->setMouseDoubleClickInterval(60000);
    App app;
    MainWindow& m = ShowMain(app);
    const QPoint bare(ui::Px(3000), ui::Px(3850));
    QTest::mouseClick(&m, Qt::LeftButton, {}, bare);
    QCOMPARE(app.exitHook.calls, 0);
    hints->setMouseDoubleClickInterval(1);
    QTest::qWait(20);
    QTest::mouseClick(&m, Qt::LeftButton, {}, bare);
    hints->setMouseDoubleClickInterval(0);
    QCOMPARE(app.exitHook.calls, 1);
}

void MainWindowTest::closeBoxEnds() {
    App app;
    MainWindow& m = ShowMain(app);
    m.close();
    QCOMPARE(app.exitHook.calls, 1);
}

void MainWindowTest::reportClearedInputsKept() {
    App app;
    MainWindow& m = ShowMain(app);
    m.option(SectionSize::U60)->click();
    Button(m, "Command1")->click();
    CalculationWindow& w = app.windows.calculationWindow(SectionSize::U60);
    w.inputBox(InputBox::Text2)->setText("0.2");
    w.findChild<QPushButton*>("Command1")->click();
    QVERIFY(w.reportText().contains("谢才系数"));
    w.backButton()->click();
    Button(m, "Command1")->click();
    QCOMPARE(w.reportText(), QString("显示计算成果： U60形渠道构件。 "));
    QCOMPARE(w.inputBox(InputBox::Text2)->text(), QString("0.2"));
}

void MainWindowTest::windowsLiveOnWhileHidden() {
    App app;
    MainWindow& m = ShowMain(app);
    m.option(SectionSize::U60)->click();
    Button(m, "Command1")->click();
    CalculationWindow* u60 = app.windows.existingCalculationWindow(SectionSize::U60);
    u60->fanhui();
    m.option(SectionSize::U80)->click();
    Button(m, "Command1")->click();
    QCOMPARE(app.windows.existingCalculationWindow(SectionSize::U60), u60);
    QVERIFY(!u60->isVisible());
    QVERIFY(app.windows.existingCalculationWindow(SectionSize::U80)->isVisible());
    QCOMPARE(VisibleWindows().size(), std::size_t{1});
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
