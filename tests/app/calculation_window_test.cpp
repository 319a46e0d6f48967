#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "app_fixture.h"
#include "hydraulics/calculation_run.h"

using namespace veltrane;
using namespace veltrane::testing;

Q_DECLARE_METATYPE(veltrane::SectionSize)

namespace {

void AddSizes() {
    QTest::addColumn<SectionSize>("size");
    for (int i = 0; i < kSectionCount; ++i) {
        const auto size = static_cast<SectionSize>(i);
        QTest::newRow(SectionName(size).data()) << size;
    }
}

// Opens a size as the main window does, and waits until it has the focus.
CalculationWindow& Open(App& app, SectionSize size) {
    app.windows.mainWindow();
    app.windows.openCalculationWindow(size);
    return Activated(app.windows.calculationWindow(size));
}

QString ReportOf(SectionSize size, const char* q, const char* x, const char* n, const char* k) {
    return CalculationWindow::DisplayText(RunCalculation(LookupSection(size), {q, x, n, k}).report);
}

void SetInputs(CalculationWindow& w, const QString& q, const QString& x, const QString& n,
               const QString& k) {
    w.inputBox(InputBox::Text2)->setText(q);
    w.inputBox(InputBox::Text4)->setText(x);
    w.inputBox(InputBox::text6)->setText(n);
    w.inputBox(InputBox::Text7)->setText(k);
}

QPushButton* Button(QWidget& w, const char* name) {
    return w.findChild<QPushButton*>(name);
}

}  // namespace

class CalculationWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallLookOnce(); }

    void layoutDifferences_data();
    void layoutDifferences();
    void controlsKeepTheirNames_data() { AddSizes(); }
    void controlsKeepTheirNames();
    void focusOrder_data() { AddSizes(); }
    void focusOrder();
    void lengthLimits_data() { AddSizes(); }
    void lengthLimits();
    void enterCalculates_data() { AddSizes(); }
    void enterCalculates();
    void enterOnBackGoesBack_data() { AddSizes(); }
    void enterOnBackGoesBack();
    void spacePressesTheFocusedButton();
    void escape_data();
    void escape();
    void enterInTheU140ReportBox();
    void closeBoxGoesBack_data() { AddSizes(); }
    void closeBoxGoesBack();
    void exitButtonEndsTheProgram_data() { AddSizes(); }
    void exitButtonEndsTheProgram();
    void messages_data();
    void messages();
    void depthMessageYesResetsEverything_data() { AddSizes(); }
    void depthMessageYesResetsEverything();
    void headerComesBeforeTheBox();
    void showHideOrderOfGoingBack_data() { AddSizes(); }
    void showHideOrderOfGoingBack();
    void noStateLeaksBetweenRuns();
    void onlyU60WritesItsHeaderAtCreation_data() { AddSizes(); }
    void onlyU60WritesItsHeaderAtCreation();
    void calculateSpeed();
};

void CalculationWindowTest::layoutDifferences_data() {
    QTest::addColumn<SectionSize>("size");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("dischargeLabel");
    QTest::addColumn<QString>("roughnessLabel");
    QTest::addColumn<QString>("roughnessName");
    QTest::addColumn<QString>("defaultQ");
    QTest::addColumn<QString>("backName");
    QTest::addColumn<QString>("exitTooltip");
    QTest::addColumn<double>("exitPt");
    QTest::addColumn<bool>("text7Tooltip");
    QTest::addColumn<bool>("editableReport");
    QTest::addColumn<bool>("sizable");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QString>("firstFocus");

    QTest::newRow("U60") << SectionSize::U60 << " Veltrane U60----Dorvane"
                         << "已知流量："
                         << "糙　率　："
                         << "Label5"
                         << "0.25"
                         << "Command2"
                         << "退出程序" << 10.5 << true << false << false << QSize(424, 307)
                         << "Command1";
    QTest::newRow("U80") << SectionSize::U80 << " Veltrane U80----Dorvane"
                         << "已知流量："
                         << "糙   率 ："
                         << "Label5"
                         << "0.4"
                         << "Command2"
                         << "退出程序" << 10.5 << false << false << true << QSize(422, 305)
                         << "Command1";
    QTest::newRow("U100") << SectionSize::U100 << " Veltrane U100----Dorvane"
                          << "已知流量："
                          << "糙   率 ："
                          << "Label6"
                          << "0.55"
                          << "Command3"
                          << "退出程序" << 10.5 << false << false << false << QSize(424, 309)
                          << "Command1";
    QTest::newRow("U120") << SectionSize::U120 << "Veltrane U120----Dorvane"
                          << "设计流量："
                          << "糙   率 ："
                          << "Label5"
                          << "0.90"
                          << "Command2"
                          << "退出软件" << 12.0 << false << false << false << QSize(422, 303)
                          << "Command1";
    QTest::newRow("U140") << SectionSize::U140 << "Veltrane U140----Dorvane"
                          << "已知流量："
                          << "糙　率　："
                          << "Label5"
                          << "1.20"
                          << "Command2"
                          << "退出程序" << 10.5 << true << true << true << QSize(420, 312)
                          << "Text1";
}

void CalculationWindowTest::layoutDifferences() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = app.windows.calculationWindow(size);
    QTEST(w.windowTitle(), "caption");
    QFETCH(QString, roughnessName);
    QTEST(w.findChild<QLabel*>("Label1")->text(), "dischargeLabel");
    QTEST(w.findChild<QLabel*>(roughnessName)->text(), "roughnessLabel");
    QTEST(w.inputBox(InputBox::Text2)->text(), "defaultQ");
    QCOMPARE(w.inputBox(InputBox::Text4)->text(), QString("500"));
    QCOMPARE(w.inputBox(InputBox::text6)->text(), QString("0.017"));
    QCOMPARE(w.inputBox(InputBox::Text7)->text(), QString("1.0"));
    QTEST(w.backButton()->objectName(), "backName");
    QCOMPARE(w.backButton()->text(), QString("返回"));
    QCOMPARE(w.backButton()->toolTip(), QString("返回主菜单"));
    QCOMPARE(w.exitButton()->text(), QString("退出"));
    QTEST(w.exitButton()->toolTip(), "exitTooltip");
    QTEST(w.exitButton()->font().pointSizeF(), "exitPt");
    QFETCH(bool, text7Tooltip);
    QCOMPARE(w.inputBox(InputBox::Text7)->toolTip(),
             text7Tooltip ? QString("计算范围1~2") : QString());
    QFETCH(bool, editableReport);
    auto* report = w.findChild<QPlainTextEdit*>("Text1");
    QCOMPARE(report->isReadOnly(), !editableReport);
    QCOMPARE(report->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QFETCH(bool, sizable);
    QFETCH(QSize, client);
    QCOMPARE(w.size(), client);
    QCOMPARE(w.minimumSize() == w.maximumSize(), !sizable);
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    QTEST(w.focusWidget()->objectName(), "firstFocus");
    QCOMPARE(w.findChild<QLabel*>("Label2")->text(), U8(LookupSection(size).sizeLabel));
    QCOMPARE(w.findChild<QLabel*>("Label2")->font().pointSizeF(), 12.0);
    QCOMPARE(Button(w, "Command1")->toolTip(), QString("显示计算结果"));
    QVERIFY(Button(w, "Command1")->isDefault());
}

void CalculationWindowTest::controlsKeepTheirNames() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = app.windows.calculationWindow(size);
    QCOMPARE(w.objectName(), QString(LayoutFor(size).formName));
    for (const char* name :
         {"Command1", "Command2", "Command3", "Text1", "Text2", "Text4", "text6", "Text7", "Label2",
          "Frame1", "Picture1", "Line1", "Line2", "Line3", "Line4"}) {
        QVERIFY2(w.findChild<QWidget*>(name) != nullptr, name);
    }
    // Screen readers find the boxes by their labels' captions.
    for (int i = 0; i < kInputBoxCount; ++i) {
        const auto box = static_cast<InputBox>(i);
        QCOMPARE(w.inputBox(box)->accessibleName(),
                 QString::fromUtf8(LayoutFor(size).labels[static_cast<std::size_t>(i)].caption));
    }
    QVERIFY(!w.findChild<QWidget*>("Text1")->accessibleName().isEmpty());
}

void CalculationWindowTest::focusOrder() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = Open(app, size);
    const auto& order = LayoutFor(size).focusOrder;
    w.findChild<QWidget*>(order[0])->setFocus();
    for (std::size_t i = 1; i <= order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString(order[i % order.size()]));
    }
}

void CalculationWindowTest::lengthLimits() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = Open(app, size);
    const int text2Limit = size == SectionSize::U100 ? 6 : 7;
    const struct {
        InputBox box;
        int limit;
    } limits[] = {{InputBox::Text2, text2Limit}, {InputBox::Text4, 6}, {InputBox::text6, 6}};
    for (const auto& l : limits) {
        QLineEdit* e = w.inputBox(l.box);
        e->clear();
        QTest::keyClicks(e, "1234567890");
        QCOMPARE(e->text().size(), l.limit);
        e->clear();
        e->insert(QStringLiteral("9876543210"));  // as a paste inserts
        QCOMPARE(e->text().size(), l.limit);
    }
    QLineEdit* factor = w.inputBox(InputBox::Text7);
    factor->clear();
    const QString longText(100000, QChar('1'));
    factor->insert(longText);
    QCOMPARE(factor->text().size(), longText.size());
}

void CalculationWindowTest::enterCalculates() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = Open(app, size);
    const USection& s = LookupSection(size);
    for (InputBox box : {InputBox::Text2, InputBox::Text7}) {
        w.setReportText({});
        w.inputBox(box)->setFocus();
        QTest::keyClick(w.inputBox(box), Qt::Key_Return);
        QCOMPARE(w.reportText(), ReportOf(size, s.defaultDischarge.data(), "500", "0.017", "1.0"));
    }
    auto* report = w.findChild<QPlainTextEdit*>("Text1");
    if (report->isReadOnly()) {  // the editable U140 box has a test of its own
        w.setReportText({});
        report->setFocus();
        QTest::keyClick(report, Qt::Key_Return);
        QCOMPARE(w.reportText(), ReportOf(size, s.defaultDischarge.data(), "500", "0.017", "1.0"));
    }
    w.setReportText({});
    Button(w, "Command1")->setFocus();
    QTest::keyClick(Button(w, "Command1"), Qt::Key_Enter);
    QVERIFY(w.reportText().startsWith(U8(s.reportHeader) + "\n"));
    QVERIFY(app.prompter.asked.empty());
}

void CalculationWindowTest::enterOnBackGoesBack() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = Open(app, size);
    w.backButton()->setFocus();
    QTest::keyClick(w.backButton(), Qt::Key_Return);
    QVERIFY(!w.isVisible());
    QVERIFY(app.windows.mainWindow().isVisible());
    QCOMPARE(w.reportText(), U8(LookupSection(size).reportHeader));  // nothing was calculated
}

void CalculationWindowTest::spacePressesTheFocusedButton() {
    App app;
    CalculationWindow& w = Open(app, SectionSize::U60);
    Button(w, "Command1")->setFocus();
    QTest::keyClick(Button(w, "Command1"), Qt::Key_Space);
    QCOMPARE(w.reportText(), ReportOf(SectionSize::U60, "0.25", "500", "0.017", "1.0"));
    w.exitButton()->setFocus();
    QTest::keyClick(w.exitButton(), Qt::Key_Space);
    QCOMPARE(app.exitHook.calls, 1);
}

void CalculationWindowTest::escape_data() {
    QTest::addColumn<SectionSize>("size");
    QTest::addColumn<bool>("exits");
    QTest::newRow("U60 back") << SectionSize::U60 << false;
    QTest::newRow("U80 back") << SectionSize::U80 << false;
    QTest::newRow("U100 exit") << SectionSize::U100 << true;
    QTest::newRow("U120 back") << SectionSize::U120 << false;
    QTest::newRow("U140 exit") << SectionSize::U140 << true;
}

void CalculationWindowTest::escape() {
    QFETCH(SectionSize, size);
    QFETCH(bool, exits);
    App app;
    CalculationWindow& w = Open(app, size);
    w.inputBox(InputBox::text6)->setFocus();
    QTest::keyClick(w.inputBox(InputBox::text6), Qt::Key_Escape);
    QCOMPARE(app.exitHook.calls, exits ? 1 : 0);
    if (exits) {
        QCOMPARE(app.exitHook.lastStatus, 0);
        QVERIFY(w.isVisible());  // the real hook ends the process; nothing closed the window
    } else {
        QVERIFY(!w.isVisible());
        QVERIFY(app.windows.mainWindow().isVisible());
    }
    QVERIFY(app.prompter.asked.empty());
}

void CalculationWindowTest::enterInTheU140ReportBox() {
    App app;
    CalculationWindow& w = Open(app, SectionSize::U140);
    auto* report = w.findChild<QPlainTextEdit*>("Text1");
    report->setFocus();
    QTest::keyClicks(report, "typed");
    QVERIFY(report->toPlainText().contains("typed"));
    QTest::keyClick(report, Qt::Key_Return);
    QCOMPARE(w.reportText(), ReportOf(SectionSize::U140, "1.20", "500", "0.017", "1.0"));
    QCOMPARE(QApplication::focusWidget(), report);
    QTest::keyClick(report, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("Command1"));
    QVERIFY(!w.reportText().contains('\t'));
}

void CalculationWindowTest::closeBoxGoesBack() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = Open(app, size);
    w.inputBox(InputBox::Text2)->setText("0.3");
    QVERIFY(!w.close());  // the close is refused; the window goes back instead
    QVERIFY(!w.isVisible());
    QVERIFY(app.windows.mainWindow().isVisible());
    QCOMPARE(app.windows.existingCalculationWindow(size), &w);
    QCOMPARE(w.inputBox(InputBox::Text2)->text(), QString("0.3"));
    QCOMPARE(app.exitHook.calls, 0);
}

void CalculationWindowTest::exitButtonEndsTheProgram() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = Open(app, size);
    w.exitButton()->click();
    QCOMPARE(app.exitHook.calls, 1);
    QCOMPARE(app.exitHook.lastStatus, 0);
    QVERIFY(app.prompter.asked.empty());
}

void CalculationWindowTest::messages_data() {
    QTest::addColumn<QStringList>("inputs");  // Text2, Text4, text6, Text7
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("afterYes");

    QTest::newRow("1 roughness") << QStringList{"0.2", "x", "abc", "9"}
                                 << "糙率不能为0或负数，请重新输入。"
                                 << "text6" << QStringList{"0.2", "x", "0.017", "9"};
    QTest::newRow("2 discharge") << QStringList{"", "-5", "0.02", "9"}
                                 << "设计流量不能为0或负数，请重新输入"
                                 << "Text2" << QStringList{"0.25", "-5", "0.02", "9"};
    QTest::newRow("3 slope") << QStringList{"0.2", "-5", "0.02", ""}
                             << "设计纵坡不能为负数或0，请重新输入"
                             << "Text4" << QStringList{"0.2", "500", "0.02", ""};
    QTest::newRow("4 factor") << QStringList{"0.2", "600", "0.02", "2.01"}
                              << "加大系数已不在适用范围，请重新输入"
                              << "Text7" << QStringList{"0.2", "600", "0.02", "1.0"};
    QTest::newRow("7 beyond range")
        << QStringList{"0.2", "1e999", "0.02", "1"} << "输入数值超出计算范围，请重新输入"
        << "Text4" << QStringList{"0.2", "500", "0.02", "1"};
}

// U60: each input message, answered Yes and then No.
void CalculationWindowTest::messages() {
    QFETCH(QStringList, inputs);
    QFETCH(QString, message);
    QFETCH(QString, box);
    QFETCH(QStringList, afterYes);
    App app;
    CalculationWindow& w = Open(app, SectionSize::U60);
    const QString header = U8(LookupSection(SectionSize::U60).headerText);

    SetInputs(w, inputs[0], inputs[1], inputs[2], inputs[3]);
    app.prompter.answers = {true};
    Button(w, "Command1")->click();
    QCOMPARE(app.prompter.asked.size(), std::size_t{1});
    QCOMPARE(app.prompter.asked[0].text, message);
    QVERIFY(w.isVisible());
    QCOMPARE(QApplication::focusWidget()->objectName(), box);
    for (int i = 0; i < kInputBoxCount; ++i) {
        QCOMPARE(w.inputBox(static_cast<InputBox>(i))->text(), afterYes[i]);
    }
    QCOMPARE(w.reportText(), header);  // the run's header, without the trailing blank

    SetInputs(w, inputs[0], inputs[1], inputs[2], inputs[3]);
    app.prompter.answers = {false};
    Button(w, "Command1")->click();
    QVERIFY(!w.isVisible());
    QVERIFY(app.windows.mainWindow().isVisible());
    for (int i = 0; i < kInputBoxCount; ++i) {
        QCOMPARE(w.inputBox(static_cast<InputBox>(i))->text(), inputs[i]);
    }
    QCOMPARE(w.reportText(), header);
}

void CalculationWindowTest::depthMessageYesResetsEverything() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = Open(app, size);
    const USection& s = LookupSection(size);
    // A design overflow, then a check overflow of the default discharge doubled.
    for (const char* k : {"1", "2"}) {
        const QString q = k[0] == '1' ? QString("99") : U8(s.defaultDischarge);
        SetInputs(w, q, "500", "0.017", k);
        Button(w, "Command1")->click();
        const auto& asked = app.prompter.asked.back();
        QVERIFY2(asked.text.contains(k[0] == '1' ? "设计水深已大于渠深" : "校核水深已大于渠深"),
                 qPrintable(asked.text));
        QCOMPARE(QApplication::focusWidget(), w.inputBox(InputBox::Text2));
        QCOMPARE(w.inputBox(InputBox::Text2)->text(), U8(s.defaultDischarge));
        QCOMPARE(w.inputBox(InputBox::Text4)->text(), QString("500"));
        QCOMPARE(w.inputBox(InputBox::text6)->text(), QString("0.017"));
        QCOMPARE(w.inputBox(InputBox::Text7)->text(), QString("1.0"));
        QCOMPARE(w.reportText(), U8(s.reportHeader));
        QVERIFY(w.reportText().endsWith(QStringLiteral("。 ")));
    }
}

void CalculationWindowTest::headerComesBeforeTheBox() {
    App app;
    CalculationWindow& w = Open(app, SectionSize::U80);
    Button(w, "Command1")->click();  // a report first
    QVERIFY(w.reportText().contains("谢才系数"));
    w.inputBox(InputBox::text6)->setText("0");
    app.prompter.answers = {false};
    Button(w, "Command1")->click();
    QCOMPARE(app.prompter.asked.back().reportBoxAtAsk,
             U8(LookupSection(SectionSize::U80).headerText));
    QVERIFY(app.prompter.asked.back().parentVisible);
}

void CalculationWindowTest::showHideOrderOfGoingBack() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = Open(app, size);
    MainWindow& main = app.windows.mainWindow();
    // Record the order in which the two windows change.
    QStringList events;
    struct Recorder : QObject {
        QStringList* events;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Show || e->type() == QEvent::Hide) {
                *events << o->objectName() + (e->type() == QEvent::Show ? " show" : " hide");
            }
            return false;
        }
    } recorder;
    recorder.events = &events;
    w.installEventFilter(&recorder);
    main.installEventFilter(&recorder);
    w.fanhui();
    const QString self = w.objectName();
    const QStringList expected = size == SectionSize::U140
                                     ? QStringList{self + " hide", "Form1 show"}
                                     : QStringList{"Form1 show", self + " hide"};
    QCOMPARE(events, expected);
    w.removeEventFilter(&recorder);
    main.removeEventFilter(&recorder);
}

void CalculationWindowTest::noStateLeaksBetweenRuns() {
    App app;
    CalculationWindow& w = Open(app, SectionSize::U60);
    const QString fresh = ReportOf(SectionSize::U60, "0.2", "500", "0.017", "1.2");
    SetInputs(w, "0.3", "500", "0.017", "1.0");
    Button(w, "Command1")->click();  // message 5, Yes resets the boxes
    SetInputs(w, "0.2", "500", "0.017", "1.2");
    Button(w, "Command1")->click();
    QCOMPARE(w.reportText(), fresh);
    Button(w, "Command1")->click();
    QCOMPARE(w.reportText(), fresh);
}

void CalculationWindowTest::onlyU60WritesItsHeaderAtCreation() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = app.windows.calculationWindow(size);
    QCOMPARE(w.reportText(),
             size == SectionSize::U60 ? U8(LookupSection(size).reportHeader) : QString());
}

// One press of the calculate button, the report written into Text1 included.
void CalculationWindowTest::calculateSpeed() {
    App app;
    CalculationWindow& w = Open(app, SectionSize::U60);
    QPushButton* calculate = Button(w, "Command1");
    QBENCHMARK {
        calculate->click();
    }
    QVERIFY(w.reportText().contains("45.034"));
}

QTEST_MAIN(CalculationWindowTest)
#include "calculation_window_test.moc"
