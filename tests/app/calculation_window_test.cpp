// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "hydraulics/calculation_run.h"
#include "tests/app/app_fixture.h"

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

// The report box as it reads after a run: a header line, then the nine
// value lines with an empty line between them. Typed from the worked
// examples and an independent evaluation of the formulas, never computed
// here.
QString Report(const char* header, std::initializer_list<const char*> values) {
    static constexpr const char* kLabels[] = {
        "校核流量：Q =", "设计水深：h =", "校核水深：h1=", "流    速：V =", "水面宽度：b =",
        "过水面积：A =", "湿    周：X =", "水力半径：R =", "谢才系数：C ="};
    QString text = QString::fromUtf8(header) + "\n";
    const char* const* label = kLabels;
    for (const char* value : values) {
        if (label != kLabels) {
            text += "\n\n";
        }
        text += QString::fromUtf8(*label++) + QString::fromUtf8(value);
    }
    return text;
}

// U60 with its default inputs, line for line.
const QString kU60Defaults = kU60DefaultLines.join('\n');

// U60 with Q 0.2 and k 1.2.
const QString kU60Increased =
    Report("显示计算成果： U60形渠道构件。 ",
           {" .24", " .447", " .502", " .863", " .64", " .232", " 1.237", " .188", " 44.514"});

// Each window's report for its own default inputs.
QString DefaultReport(SectionSize size) {
    switch (size) {
        case SectionSize::U60:
            return kU60Defaults;
        case SectionSize::U80:
            return Report("显示计算成果： U80形渠道构件。 ",
                          {" .4", " .567", " .567", " 1.029", " .8545", " .3895", " 1.5926",
                           " .2445", " 46.5165"});
        case SectionSize::U100:
            return Report("显示计算成果： U100形渠道构件。 ",
                          {" .55", " .597", " .597", " 1.121", " 1.0429", " .4917", " 1.7665",
                           " .2783", " 47.5313"});
        case SectionSize::U120:
            return Report("显示计算成果： U120形渠道构件。 ",
                          {" .9", " .718", " .718", " 1.268", " 1.2598", " .7111", " 2.1247",
                           " .3347", " 49.0144"});
        case SectionSize::U140:
            return Report("显示计算成果： U140形渠道构件。 ",
                          {" 1.2", " .777", " .777", " 1.364", " 1.4557", " .8804", " 2.3573",
                           " .3735", " 49.9183"});
    }
    return {};
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
    void controlsKeepTheirNames_data();
    void controlsKeepTheirNames();
    void focusOrder_data();
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
    QCOMPARE(w.findChild<QLabel*>("Label2")->text(), SizeLabel(size));
    QCOMPARE(w.findChild<QLabel*>("Label2")->font().pointSizeF(), 12.0);
    QCOMPARE(Button(w, "Command1")->toolTip(), QString("显示计算结果"));
    QVERIFY(Button(w, "Command1")->isDefault());
}

void CalculationWindowTest::controlsKeepTheirNames_data() {
    QTest::addColumn<SectionSize>("size");
    QTest::addColumn<QString>("form");
    QTest::newRow("U60") << SectionSize::U60 << "Form2";
    QTest::newRow("U80") << SectionSize::U80 << "Form3";
    QTest::newRow("U100") << SectionSize::U100 << "Form4";
    QTest::newRow("U120") << SectionSize::U120 << "Form5";
    QTest::newRow("U140") << SectionSize::U140 << "Form7";
}

void CalculationWindowTest::controlsKeepTheirNames() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = app.windows.calculationWindow(size);
    QTEST(w.objectName(), "form");
    for (const char* name :
         {"Command1", "Command2", "Command3", "Text1", "Text2", "Text4", "text6", "Text7", "Label2",
          "Frame1", "Picture1", "Line1", "Line2", "Line3", "Line4"}) {
        QVERIFY2(w.findChild<QWidget*>(name) != nullptr, name);
    }
    // Screen readers find the boxes by the captions of the labels beside them.
    // U100 numbers its last two labels one higher.
    const bool u100 = size == SectionSize::U100;
    const std::pair<InputBox, QString> captions[] = {{InputBox::Text2, "Label1"},
                                                     {InputBox::Text4, "Label3"},
                                                     {InputBox::text6, u100 ? "Label6" : "Label5"},
                                                     {InputBox::Text7, u100 ? "Label7" : "Label6"}};
    for (const auto& [box, label] : captions) {
        QCOMPARE(w.inputBox(box)->accessibleName(), w.findChild<QLabel*>(label)->text());
    }
    QVERIFY(!w.findChild<QWidget*>("Text1")->accessibleName().isEmpty());
}

void CalculationWindowTest::focusOrder_data() {
    QTest::addColumn<SectionSize>("size");
    QTest::addColumn<QStringList>("order");
    const QStringList commandsFirst = {"Command1", "Command2", "Text1", "Text2",
                                       "Text4",    "text6",    "Text7", "Command3"};
    QTest::newRow("U60") << SectionSize::U60 << commandsFirst;
    QTest::newRow("U80") << SectionSize::U80 << commandsFirst;
    QTest::newRow("U100") << SectionSize::U100 << commandsFirst;
    QTest::newRow("U120") << SectionSize::U120 << commandsFirst;
    QTest::newRow("U140") << SectionSize::U140
                          << QStringList{"Text1", "Command1", "Command2", "Command3",
                                         "Text7", "text6",    "Text4",    "Text2"};
}

void CalculationWindowTest::focusOrder() {
    QFETCH(SectionSize, size);
    QFETCH(QStringList, order);
    App app;
    CalculationWindow& w = OpenCalculation(app, size);
    w.findChild<QWidget*>(order[0])->setFocus();
    for (qsizetype i = 1; i <= order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[i % order.size()]);
    }
}

void CalculationWindowTest::lengthLimits() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = OpenCalculation(app, size);
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
    CalculationWindow& w = OpenCalculation(app, size);
    for (InputBox box : {InputBox::Text2, InputBox::Text7}) {
        w.setReportText({});
        w.inputBox(box)->setFocus();
        QTest::keyClick(w.inputBox(box), Qt::Key_Return);
        QCOMPARE(w.reportText(), DefaultReport(size));
    }
    auto* report = w.findChild<QPlainTextEdit*>("Text1");
    if (report->isReadOnly()) {  // the editable U140 box has a test of its own
        w.setReportText({});
        report->setFocus();
        QTest::keyClick(report, Qt::Key_Return);
        QCOMPARE(w.reportText(), DefaultReport(size));
    }
    w.setReportText({});
    Button(w, "Command1")->setFocus();
    QTest::keyClick(Button(w, "Command1"), Qt::Key_Enter);
    QCOMPARE(w.reportText(), DefaultReport(size));
    QVERIFY(app.prompter.asked.empty());
}

void CalculationWindowTest::enterOnBackGoesBack() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = OpenCalculation(app, size);
    w.backButton()->setFocus();
    QTest::keyClick(w.backButton(), Qt::Key_Return);
    QVERIFY(!w.isVisible());
    QVERIFY(app.windows.mainWindow().isVisible());
    QCOMPARE(w.reportText(), ReportHeader(size));  // nothing was calculated
}

void CalculationWindowTest::spacePressesTheFocusedButton() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    Button(w, "Command1")->setFocus();
    QTest::keyClick(Button(w, "Command1"), Qt::Key_Space);
    QCOMPARE(w.reportText(), kU60Defaults);
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
    CalculationWindow& w = OpenCalculation(app, size);
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
    CalculationWindow& w = OpenCalculation(app, SectionSize::U140);
    auto* report = w.findChild<QPlainTextEdit*>("Text1");
    report->setFocus();
    QTest::keyClicks(report, "typed");
    QVERIFY(report->toPlainText().contains("typed"));
    QTest::keyClick(report, Qt::Key_Return);
    QCOMPARE(w.reportText(), DefaultReport(SectionSize::U140));
    QCOMPARE(QApplication::focusWidget(), report);
    // The keypad's Enter calculates too, and writes no line break.
    QTest::keyClicks(report, "typed");
    QTest::keyClick(report, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(w.reportText(), DefaultReport(SectionSize::U140));
    QTest::keyClick(report, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("Command1"));
    QVERIFY(!w.reportText().contains('\t'));
}

void CalculationWindowTest::closeBoxGoesBack() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = OpenCalculation(app, size);
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
    CalculationWindow& w = OpenCalculation(app, size);
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
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    const QString header = HeaderText(SectionSize::U60);

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
    CalculationWindow& w = OpenCalculation(app, size);
    // A design overflow, then a check overflow of the default discharge doubled.
    for (const char* k : {"1", "2"}) {
        const QString q = k[0] == '1' ? QString("99") : DefaultDischarge(size);
        SetInputs(w, q, "500", "0.017", k);
        Button(w, "Command1")->click();
        const auto& asked = app.prompter.asked.back();
        QVERIFY2(asked.text.contains(k[0] == '1' ? "设计水深已大于渠深" : "校核水深已大于渠深"),
                 qPrintable(asked.text));
        QCOMPARE(QApplication::focusWidget(), w.inputBox(InputBox::Text2));
        QCOMPARE(w.inputBox(InputBox::Text2)->text(), DefaultDischarge(size));
        QCOMPARE(w.inputBox(InputBox::Text4)->text(), QString("500"));
        QCOMPARE(w.inputBox(InputBox::text6)->text(), QString("0.017"));
        QCOMPARE(w.inputBox(InputBox::Text7)->text(), QString("1.0"));
        QCOMPARE(w.reportText(), ReportHeader(size));
    }
}

void CalculationWindowTest::headerComesBeforeTheBox() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U80);
    Button(w, "Command1")->click();  // a report first
    QVERIFY(w.reportText().contains("谢才系数"));
    w.inputBox(InputBox::text6)->setText("0");
    app.prompter.answers = {false};
    Button(w, "Command1")->click();
    QCOMPARE(app.prompter.asked.back().reportBoxAtAsk, HeaderText(SectionSize::U80));
    QVERIFY(app.prompter.asked.back().parentVisible);
}

void CalculationWindowTest::showHideOrderOfGoingBack() {
    QFETCH(SectionSize, size);
    App app;
    CalculationWindow& w = OpenCalculation(app, size);
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
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    const QString fresh = kU60Increased;
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
    QCOMPARE(w.reportText(), size == SectionSize::U60 ? ReportHeader(size) : QString());
}

QTEST_MAIN(CalculationWindowTest)
#include "calculation_window_test.moc"
