// SPDX-License-Identifier: GPL-3.0-or-later
// 水面线… as an engineer uses it: the window's reach first, the table edited,
// bad cells named by the table's rows, 计算 against the uniform depth worked
// out here, the exports only for what was computed, a file imported.
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/profile_dialog.h"
#include "tests/app/app_fixture.h"
#include "tests/canal/independent_channel.h"

using namespace veltrane;
using namespace veltrane::testing;

namespace {

QString Cell(QTableWidget* t, int row, int column) {
    return t->item(row, column) ? t->item(row, column)->text() : QString();
}

QStringList Column(QTableWidget* t, int column) {
    QStringList out;
    for (int r = 0; r < t->rowCount(); ++r) {
        out << Cell(t, r, column);
    }
    return out;
}

void Click(QDialog* d, const char* name) {
    d->findChild<QPushButton*>(name)->click();
}

}  // namespace

class ProfileDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallLookOnce(); }
    void init() { ForgetProfileSession(); }
    void theWindowsReachComesFirstAndIsComputed();
    void badCellsAreNamedByTheTablesRows();
    void rowsAreAddedMovedAndRemoved();
    void aFileIsImportedAndTheResultsExported();
};

void ProfileDialogTest::theWindowsReachComesFirstAndIsComputed() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    SetInputs(w, "0.25", " 500", "0.017", "1.2");
    std::unique_ptr<QDialog> d(MakeProfileDialog(w, app.windows.services()));
    auto* reaches = d->findChild<QTableWidget*>("reachTable");
    QCOMPARE(reaches->rowCount(), 1);
    const QStringList first = {Cell(reaches, 0, 2), Cell(reaches, 0, 3), Cell(reaches, 0, 4),
                               Cell(reaches, 0, 5)};
    QCOMPARE(first, (QStringList{"U60", "500", "0.017", "0.25"}));
    QCOMPARE(d->findChild<QLineEdit*>("factor")->text(), QStringLiteral("1.2"));
    for (const char* b :
         {"pdfButton", "htmlButton", "docxButton", "csvButton", "svgButton", "dxfButton"}) {
        QVERIFY2(!d->findChild<QPushButton*>(b)->isEnabled(), b);
    }
    reaches->item(0, 0)->setText(QStringLiteral("一支渠"));
    reaches->item(0, 1)->setText(QStringLiteral("300"));
    Click(d.get(), "computeButton");
    QVERIFY(d->findChild<QLabel*>("problems")->isHidden());
    auto* design = d->findChild<QTableWidget*>("designStations");
    QCOMPARE(Column(design, 1), (QStringList{"0+000", "0+100", "0+200", "0+300"}));
    // Uniform flow at the end: the depth of Manning's formula, worked here.
    const auto& u = veltrane::canal::test::kU60;
    double low = 0.01, high = 1;
    for (int i = 0; i < 100; ++i) {
        const double h = (low + high) / 2;
        const double a = u.Area(h), r = a / u.Perimeter(h);
        (a * std::pow(r, 2.0 / 3.0) * std::sqrt(1.0 / 500) / 0.017 < 0.25 ? low : high) = h;
    }
    QCOMPARE(Cell(design, 3, 3), QString::number(low, 'f', 3));
    QCOMPARE(d->findChild<QTableWidget*>("checkStations")->rowCount(), 4);
    for (const char* b :
         {"pdfButton", "htmlButton", "docxButton", "csvButton", "svgButton", "dxfButton"}) {
        QVERIFY2(d->findChild<QPushButton*>(b)->isEnabled(), b);
    }
    // An edit makes the results stale: nothing old is exported.
    reaches->item(0, 1)->setText(QStringLiteral("400"));
    QVERIFY(!d->findChild<QPushButton*>("pdfButton")->isEnabled());
    // Reopened in the session: the reaches kept, the first refreshed from
    // the window.
    d.reset();
    SetInputs(w, "0.3", "600", "0.015", "1.1");
    std::unique_ptr<QDialog> again(MakeProfileDialog(w, app.windows.services()));
    auto* kept = again->findChild<QTableWidget*>("reachTable");
    QCOMPARE(Cell(kept, 0, 0), QStringLiteral("一支渠"));
    QCOMPARE(Cell(kept, 0, 1), QStringLiteral("400"));
    QCOMPARE(Cell(kept, 0, 3), QStringLiteral("600"));
    QCOMPARE(Cell(kept, 0, 5), QStringLiteral("0.3"));
}

void ProfileDialogTest::badCellsAreNamedByTheTablesRows() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U80);
    std::unique_ptr<QDialog> d(MakeProfileDialog(w, app.windows.services()));
    auto* reaches = d->findChild<QTableWidget*>("reachTable");
    reaches->setRowCount(2);
    const char* rows[2][9] = {{"甲", "abc", "U80", "1000", "0.015", "0.4", "", "", ""},
                              {"", "100", "U70", "1000", "0.015", "0.4", "", "", ""}};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 9; ++c) {
            reaches->setItem(r, c, new QTableWidgetItem(QString::fromUtf8(rows[r][c])));
        }
    }
    d->findChild<QLineEdit*>("factor")->setText(QStringLiteral("3"));
    Click(d.get(), "computeButton");
    auto* problems = d->findChild<QLabel*>("problems");
    QCOMPARE(problems->text(),
             QStringLiteral("第 1 行“长度”：“abc”不是数。\n"
                            "第 2 行“渠段名称”：未填写。\n"
                            "第 2 行“断面”：无此规格“U70”（可用 U60、U80、U100、U120、U140）。\n"
                            "加大系数须在 1 至 2 之间。"));
    QCOMPARE(d->findChild<QTableWidget*>("designStations")->rowCount(), 0);
}

void ProfileDialogTest::rowsAreAddedMovedAndRemoved() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    std::unique_ptr<QDialog> d(MakeProfileDialog(w, app.windows.services()));
    auto* reaches = d->findChild<QTableWidget*>("reachTable");
    reaches->item(0, 0)->setText(QStringLiteral("一"));
    reaches->setCurrentCell(0, 0);
    Click(d.get(), "addReach");
    reaches->item(1, 0)->setText(QStringLiteral("二"));
    Click(d.get(), "addReach");  // after the current row, the second
    reaches->item(2, 0)->setText(QStringLiteral("三"));
    QCOMPARE(Column(reaches, 0), (QStringList{"一", "二", "三"}));
    reaches->setCurrentCell(2, 0);
    Click(d.get(), "moveUp");
    QCOMPARE(Column(reaches, 0), (QStringList{"一", "三", "二"}));
    QCOMPARE(reaches->currentRow(), 1);
    Click(d.get(), "moveDown");
    Click(d.get(), "moveDown");  // at the bottom already: nothing
    QCOMPARE(Column(reaches, 0), (QStringList{"一", "二", "三"}));
    reaches->setCurrentCell(0, 0);
    Click(d.get(), "removeReach");
    Click(d.get(), "removeReach");
    Click(d.get(), "removeReach");  // the last one stays
    QCOMPARE(reaches->rowCount(), 1);
}

void ProfileDialogTest::aFileIsImportedAndTheResultsExported() {
    QTemporaryDir folder;
    const QString canal = folder.filePath("渠道.csv");
    {
        QFile f(canal);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(
            "\xEF\xBB\xBF渠段名称,长度,断面,纵坡,糙率,设计流量,渠底高程,局部损失系数,要求水位\n"
            "总干,200,U100,1500,0.015,0.5,10,,\n支渠,150,U80,1000, 0.01250 ,0.3,,0.2,10.40\n");
    }
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    std::unique_ptr<QDialog> d(MakeProfileDialog(w, app.windows.services()));
    app.files.paths = {canal};
    Click(d.get(), "importCsv");
    auto* reaches = d->findChild<QTableWidget*>("reachTable");
    QCOMPARE(Column(reaches, 0), (QStringList{"总干", "支渠"}));
    QCOMPARE(Column(reaches, 6), (QStringList{"10", ""}));
    // Each cell as the file writes it, never rounded or padded.
    QCOMPARE(Column(reaches, 4), (QStringList{"0.015", "0.01250"}));
    QCOMPARE(Column(reaches, 8), (QStringList{"", "10.40"}));
    Click(d.get(), "computeButton");
    QVERIFY2(d->findChild<QLabel*>("problems")->isHidden(),
             qPrintable(d->findChild<QLabel*>("problems")->text()));
    const QString out = folder.filePath("水面线.csv");
    app.files.paths = {out};
    Click(d.get(), "csvButton");
    QFile f(out);
    QVERIFY2(f.open(QIODevice::ReadOnly),
             qPrintable(app.prompter.notices.empty() ? QString() : app.prompter.notices.back()));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));  // for spreadsheets
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.front(), QStringLiteral("流量,渠段,桩号 (m),渠底高程 (m),水深 h (m),"
                                           "水位 (m),流速 v (m/s),Fr,能量高程 (m),渠顶高程 (m),"
                                           "超高 (m),曲线"));
    const int stations = d->findChild<QTableWidget*>("designStations")->rowCount();
    QCOMPARE(lines.size(), 1 + 2 * stations);
    QVERIFY(lines[1].startsWith(QStringLiteral("设计流量,总干,0.0000,10.0000,")));
    // The drawing for CAD: the bed, the top and the water, a polyline each.
    const QString cad = folder.filePath("纵断面图.dxf");
    app.files.paths = {cad};
    Click(d.get(), "dxfButton");
    QFile dxf(cad);
    QVERIFY(dxf.open(QIODevice::ReadOnly));
    const QByteArray bytes2 = dxf.readAll();
    QCOMPARE(bytes2.count("\n0\nLWPOLYLINE\n") + bytes2.count("\n0\nPOLYLINE\n"), 3);
    QVERIFY(app.files.asked.back().endsWith(QStringLiteral("|纵断面图.dxf")));
}

QTEST_MAIN(ProfileDialogTest)
#include "profile_dialog_test.moc"
