// SPDX-License-Identifier: GPL-3.0-or-later
// 自定义断面 as an engineer uses it: rows typed and checked as they are
// typed, a catalogue file imported and exported, 选型 fitting among the
// sections by area, and 水面线's size column naming one.
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/companion_dialogs.h"
#include "app/profile_dialog.h"
#include "app/sections_dialog.h"
#include "tests/app/app_fixture.h"

using namespace veltrane;
using namespace veltrane::testing;

namespace {

void Type(QTableWidget* t, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c) {
        if (t->item(row, c) == nullptr) {
            t->setItem(row, c, new QTableWidgetItem);
        }
        t->item(row, c)->setText(cells[c]);
    }
}

QStringList Row(QTableWidget* t, int row) {
    QStringList out;
    for (int c = 0; c < t->columnCount(); ++c) {
        out << (t->item(row, c) ? t->item(row, c)->text() : QString());
    }
    return out;
}

QString Status(QDialog* d) {
    return d->findChild<QLabel*>("sectionStatus")->text();
}

}  // namespace

class SectionsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallLookOnce(); }
    void init() {
        SessionSectionRows().clear();
        ForgetProfileSession();
    }
    void rowsAreCheckedAsTheyAreTyped();
    void aFileIsImportedOnlyWhenItReads();
    void fitTakesTheSectionsByArea();
    void aBadTableRefusesFit();
    void theWaterSurfaceNamesASection();
};

void SectionsDialogTest::rowsAreCheckedAsTheyAreTyped() {
    App app;
    std::unique_ptr<QDialog> d(MakeSectionsDialog(nullptr, app.windows.services()));
    QCOMPARE(Status(d.get()),
             QStringLiteral("未定义自定义断面：选型、选型表与水面线只用五种标准断面。"));
    auto* table = d->findChild<QTableWidget*>("sectionTable");
    d->findChild<QPushButton*>("addSection")->click();
    Type(table, 0, {"U50", "0.25", "6", "0.45", "3.5"});
    d->findChild<QPushButton*>("addSection")->click();
    Type(table, 1, {"d80", "0.4", "8", "0.3"});
    QCOMPARE(Status(d.get()),
             QStringLiteral("自定义断面表有误：\n"
                            "第 2 行（d80）：名称与标准断面（U60～U140、D60～D140）重名。\n"
                            "第 2 行（d80）：渠深 H 须高于切点深度 r(1 − sin α) 且不大于 100 m。"));
    table->item(1, 0)->setText(QStringLiteral("U90 <b>"));
    table->item(1, 3)->setText(QStringLiteral("0.7"));
    QVERIFY(Status(d.get()).startsWith(QStringLiteral("共 2 个自定义断面：")));
    // The session keeps the rows as typed.
    QCOMPARE(SessionSectionRows().size(), 2u);
    QCOMPARE(SessionSectionRows()[1][0], std::string("U90 <b>"));
    table->setCurrentCell(0, 0);
    d->findChild<QPushButton*>("removeSection")->click();
    QCOMPARE(Row(table, 0).first(), QStringLiteral("U90 <b>"));
    QCOMPARE(SessionSectionRows().size(), 1u);
}

void SectionsDialogTest::aFileIsImportedOnlyWhenItReads() {
    QTemporaryDir folder;
    const QString bad = folder.filePath("bad.csv");
    const QString good = folder.filePath("good.csv");
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("name,r,H\nU50,0.25,0.45\n");
    }
    {
        QFile f(good);
        QVERIFY(f.open(QIODevice::WriteOnly));
        // GB18030, as a Chinese spreadsheet saves it; cells kept as written.
        f.write("name,r,alpha,H,thickness,top\n\xcf\xd6\xbd\xbdU45,0.450,8,0.60,,95\n");
    }
    App app;
    std::unique_ptr<QDialog> d(MakeSectionsDialog(nullptr, app.windows.services()));
    auto* table = d->findChild<QTableWidget*>("sectionTable");
    app.files.paths = {bad};
    d->findChild<QPushButton*>("importSections")->click();
    QCOMPARE(table->rowCount(), 0);
    QCOMPARE(Status(d.get()),
             QStringLiteral("第 1 行：第一行须为列名 name,r,alpha,H,thickness,top。\n"
                            "第 2 行（U50）：应有 4 至 6 个单元格，实有 3 个。"));
    app.files.paths = {good};
    d->findChild<QPushButton*>("importSections")->click();
    QCOMPARE(Row(table, 0), (QStringList{"现浇U45", "0.450", "8", "0.60", "", "95"}));
    QVERIFY(Status(d.get()).startsWith(QStringLiteral("共 1 个自定义断面：")));
    const QString out = folder.filePath("out.csv");
    app.files.paths = {out};
    d->findChild<QPushButton*>("exportSections")->click();
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("\xEF\xBB\xBF"
                                     "name,r,alpha,H,thickness,top\r\n"
                                     "\xE7\x8E\xB0\xE6\xB5\x87U45,0.450,8,0.60,,95\r\n"));
    QCOMPARE(app.files.asked.back(), QStringLiteral("导出CSV|自定义断面.csv"));
}

void SectionsDialogTest::fitTakesTheSectionsByArea() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    SetInputs(w, "0.25", "1000", "0.014", "1.2");
    std::unique_ptr<QDialog> d(MakeFitDialog(w, app.windows.services()));
    QCOMPARE(d->findChild<QTableWidget*>("fitTable")->rowCount(), 5);
    const QStringList u80 = Row(d->findChild<QTableWidget*>("fitTable"), 1);
    // 自定义断面… opens the form over 选型; once it closes, 选型 fits again.
    QTimer::singleShot(0, [] {
        auto* form = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(form != nullptr && form->objectName() == QStringLiteral("sectionsDialog"));
        auto* table = form->findChild<QTableWidget*>("sectionTable");
        form->findChild<QPushButton*>("addSection")->click();
        Type(table, 0, {"X80", "0.4", "8", "0.64"});
        form->findChild<QPushButton*>("addSection")->click();
        Type(table, 1, {"U70", "0.35", "7", "0.6"});
        form->findChild<QPushButton*>("closeButton")->click();
    });
    d->findChild<QPushButton*>("sectionsButton")->click();
    auto* fit = d->findChild<QTableWidget*>("fitTable");
    QVERIFY(fit != nullptr);
    QStringList names;
    for (int r = 0; r < fit->rowCount(); ++r) {
        names << fit->item(r, 0)->text();
    }
    QCOMPARE(names, (QStringList{"U60", "U70", "U80", "X80", "U100", "U120", "U140"}));
    // X80 has U80's dimensions, so its row is U80's but for the name.
    QStringList x80 = Row(fit, 3);
    x80.first() = QStringLiteral("U80");
    QCOMPARE(x80, u80);
    QCOMPARE(d->findChild<QLabel*>("smallest")->text(),
             QStringLiteral("能通过设计流量与校核流量的最小断面：U70形渠道构件（自定义断面）"));
}

void SectionsDialogTest::aBadTableRefusesFit() {
    SessionSectionRows() = {{"U70", "0.35", "7", "0.2", "", ""}};
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U80);
    std::unique_ptr<QDialog> d(MakeFitDialog(w, app.windows.services()));
    QVERIFY(d->findChild<QTableWidget*>("fitTable") == nullptr);
    QCOMPARE(d->findChild<QLabel*>("rejection")->text(),
             QStringLiteral("自定义断面表有误：\n"
                            "第 1 行（U70）：渠深 H 须高于切点深度 r(1 − sin α) 且不大于 100 m。"));
}

void SectionsDialogTest::theWaterSurfaceNamesASection() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U80);
    SetInputs(w, "0.4", "500", "0.017", "1.2");
    std::unique_ptr<QDialog> d(MakeProfileDialog(w, app.windows.services()));
    auto* reaches = d->findChild<QTableWidget*>("reachTable");
    Type(reaches, 0, {"甲", "300", "X80"});
    d->findChild<QPushButton*>("computeButton")->click();
    auto* problems = d->findChild<QLabel*>("problems");
    QCOMPARE(problems->text(),
             QStringLiteral("第 1 行“断面”：无此规格“X80”（可用 U60、U80、U100、U120、U140）。"));
    SessionSectionRows() = {{"X80", "0.4", "8", "0.64", "", ""}};
    d->findChild<QPushButton*>("computeButton")->click();
    QVERIFY2(problems->isHidden(), qPrintable(problems->text()));
    const QString x80End = d->findChild<QTableWidget*>("designStations")->item(3, 4)->text();
    // The same reach of U80 gives the same depths.
    reaches->item(0, 2)->setText(QStringLiteral("U80"));
    d->findChild<QPushButton*>("computeButton")->click();
    QCOMPARE(d->findChild<QTableWidget*>("designStations")->item(3, 4)->text(), x80End);
}

QTEST_MAIN(SectionsDialogTest)
#include "sections_dialog_test.moc"
