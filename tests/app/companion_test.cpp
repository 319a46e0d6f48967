// SPDX-License-Identifier: GPL-3.0-or-later
// The design companion: the report box's menu, Ctrl+P, the four dialogs on a
// report and on rejected texts, and saving through the file dialog; none of
// it changes anything in the window.
#include <sys/resource.h>
#include <sys/stat.h>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <functional>
#include <memory>

#include "app/companion_dialogs.h"
#include "app/companion_session.h"
#include "app/file_export.h"
#include "app/report_menu.h"
#include "tests/app/app_fixture.h"
#include "tests/views/chinese.h"

using namespace veltrane;
using namespace veltrane::testing;

namespace {

// What a companion must leave as it found it.
struct WindowState {
    QStringList texts;
    QString report;
    QWidget* focus;
    std::size_t visible;

    static WindowState Of(CalculationWindow& w) {
        QStringList texts;
        for (InputBox box : {InputBox::Text2, InputBox::Text4, InputBox::text6, InputBox::Text7}) {
            texts << w.inputBox(box)->text();
        }
        // The window's own focus: where the keyboard goes when it is active again.
        return {texts, w.reportText(), w.focusWidget(), VisibleWindows().size()};
    }
    QString describe() const {
        return texts.join('|') + " / " + report + " / " +
               (focus ? focus->objectName() : QString("none")) + " / " + QString::number(visible);
    }
};

QStringList ActionTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator()) {
            texts << a->text();
        }
    }
    return texts;
}

const QString kU60Report = kU60DefaultLines.join(QStringLiteral("\r\n"));

using Maker = QDialog* (*)(CalculationWindow&, AppServices);

}  // namespace

Q_DECLARE_METATYPE(Maker)

class CompanionTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { InstallLookOnce(); }
    void init() { SessionSheetDetails() = {}; }
    void menuItems();
    void anEditableReportKeepsItsEditActions();
    void copyReportGivesCrLf();
    void ctrlPOpensTheSheetAndChangesNothing();
    void dialogs_data();
    void dialogs();
    void sheetExportsThroughTheFileDialog();
    void wordAndDxfGoThroughTheFileDialog();
    void sheetCarriesTheTitleBlockBasisAndSources();
    void aFailedSaveSaysWhy();
    void savingNeverGoesThroughALinkOrOverADevice();
    void theNextSaveOpensInTheLastFolder();
    void aWriteTheSystemRefusesSaysWhy();
    void sheetRefusesAnUnreadableCriterion();
    void answersUnderCriteriaRefuseAnUnreadableOne_data();
    void answersUnderCriteriaRefuseAnUnreadableOne();
    void fitHonoursTheSheetsCriteria();
    void designAidsAnswerForTheWindowsTexts();
};

void CompanionTest::menuItems() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    auto* report = w.findChild<QPlainTextEdit*>("Text1");
    std::unique_ptr<QMenu> menu(BuildReportMenu(w, report, app.windows.services()));
    QCOMPARE(ActionTexts(menu.get()),
             (QStringList{"复制", "全选", "复制计算成果", "计算书…", "断面图…", "选型…",
                          "水位流量关系…", "按坡度/流量选型…", "水面线…"}));
    QCOMPARE(report->contextMenuPolicy(), Qt::CustomContextMenu);
}

// U140's report box may be edited: its menu keeps the edit actions, in
// Chinese, before the companion's items; Shift+F10 opens it as the Menu key.
void CompanionTest::anEditableReportKeepsItsEditActions() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U140);
    auto* report = w.findChild<QPlainTextEdit*>("Text1");
    QVERIFY(!report->isReadOnly());
    std::unique_ptr<QMenu> menu(BuildReportMenu(w, report, app.windows.services()));
    const QStringList texts = ActionTexts(menu.get());
    for (const char* edit : {"撤消", "剪切", "粘贴", "删除", "全选"}) {  // Qt's own words
        QVERIFY2(
            std::any_of(texts.begin(), texts.end(),
                        [&](const QString& t) { return t.startsWith(QString::fromUtf8(edit)); }),
            qPrintable(texts.join(u'|')));
    }
    QCOMPARE(texts.mid(texts.size() - 7),
             (QStringList{"复制计算成果", "计算书…", "断面图…", "选型…", "水位流量关系…",
                          "按坡度/流量选型…", "水面线…"}));
    int asked = 0;
    QObject::connect(report, &QPlainTextEdit::customContextMenuRequested, report,
                     [&asked] { ++asked; });
    // The menu itself would hold the test; its request is what the key makes.
    QObject::disconnect(report, &QPlainTextEdit::customContextMenuRequested, &w, nullptr);
    report->setFocus();
    QTest::keyClick(report, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(asked, 1);
}

void CompanionTest::copyReportGivesCrLf() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    w.findChild<QPushButton*>("Command1")->click();
    auto* report = w.findChild<QPlainTextEdit*>("Text1");
    std::unique_ptr<QMenu> menu(BuildReportMenu(w, report, app.windows.services()));
    for (QAction* a : menu->actions()) {
        if (a->text() == QStringLiteral("复制计算成果")) {
            a->trigger();
        }
    }
    QCOMPARE(QApplication::clipboard()->text(), kU60Report);
}

void CompanionTest::ctrlPOpensTheSheetAndChangesNothing() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    SetInputs(w, "0.2", "500", "0.017", "1.2");
    w.inputBox(InputBox::Text4)->setFocus();
    const WindowState before = WindowState::Of(w);
    QString shown;
    QTimer::singleShot(50, [&shown] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = d->objectName();
            d->reject();
        }
    });
    QTest::keyClick(w.inputBox(InputBox::Text4), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(shown, QString("sheetDialog"));
    QCOMPARE(WindowState::Of(w).describe(), before.describe());
    QVERIFY(app.prompter.asked.empty());
}

void CompanionTest::dialogs_data() {
    QTest::addColumn<Maker>("make");
    QTest::addColumn<QString>("content");  // the widget that shows a result
    QTest::addColumn<QString>("roughness");
    QTest::addColumn<QString>("rejection");  // "" for a report
    const struct {
        const char* name;
        Maker make;
        const char* content;
    } dialogs[] = {{"sheet", MakeSheetDialog, "preview"},
                   {"drawing", MakeDrawingDialog, "drawing"},
                   {"fit", MakeFitDialog, "fitTable"},
                   {"rating", MakeRatingDialog, "ratingTable"},
                   {"design aids", MakeDesignAidsDialog, "capacityText"}};
    for (const auto& d : dialogs) {
        QTest::addRow("%s report", d.name) << d.make << d.content << "0.017"
                                           << "";
        QTest::addRow("%s rejected", d.name) << d.make << d.content << "abc"
                                             << "糙率不能为0或负数，请重新输入。";
    }
}

void CompanionTest::dialogs() {
    QFETCH(Maker, make);
    QFETCH(QString, content);
    QFETCH(QString, roughness);
    QFETCH(QString, rejection);
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    SetInputs(w, "0.25", "500", roughness, "1.0");
    w.inputBox(InputBox::text6)->setFocus();
    const WindowState before = WindowState::Of(w);
    std::unique_ptr<QDialog> d(make(w, app.windows.services()));
    QVERIFY(d->isModal());
    if (rejection.isEmpty()) {
        QVERIFY2(d->findChild<QWidget*>(content) != nullptr, qPrintable(content));
        QVERIFY(d->findChild<QLabel*>("rejection") == nullptr);
    } else if (content == "preview") {
        // The sheet itself states the rejection.
        auto* preview = d->findChild<QTextBrowser*>("preview");
        QVERIFY(preview->toPlainText().contains(rejection));
    } else {
        QCOMPARE(d->findChild<QLabel*>("rejection")->text(), rejection);
        QVERIFY(d->findChild<QWidget*>(content) == nullptr);
    }
    // As shown: every column of a table in view with room beside its
    // heading, and a short refusal on one line.
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    if (auto* table = d->findChild<QTableWidget*>(content)) {
        const QHeaderView* header = table->horizontalHeader();
        for (int c = 0; c < table->columnCount(); ++c) {
            const QString heading = table->horizontalHeaderItem(c)->text();
            QVERIFY2(
                header->sectionSize(c) >= header->fontMetrics().horizontalAdvance(heading) + 12,
                qPrintable(heading));
            QVERIFY2(header->sectionViewportPosition(c) + header->sectionSize(c) <=
                         table->viewport()->width(),
                     qPrintable(heading + " is cut off"));
        }
    }
    if (auto* label = d->findChild<QLabel*>("rejection")) {
        QVERIFY2(label->height() < 2 * label->fontMetrics().lineSpacing(),
                 qPrintable(QString::number(label->height())));
    }
    d->hide();
    QTimer::singleShot(20, d.get(), &QDialog::reject);
    d->exec();
    QCOMPARE(WindowState::Of(w).describe(), before.describe());
    QVERIFY(app.prompter.asked.empty());
}

void CompanionTest::sheetExportsThroughTheFileDialog() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    QTemporaryDir dir;
    const QString path = dir.filePath("u60.html");
    app.files.paths = {path};
    std::unique_ptr<QDialog> d(MakeSheetDialog(w, app.windows.services()));
    d->findChild<QLineEdit*>("channel")->setText(QStringLiteral("一支渠"));
    emit d->findChild<QLineEdit*>("channel")->editingFinished();
    d->findChild<QPushButton*>("htmlButton")->click();
    QCOMPARE(app.files.asked.size(), std::size_t{1});
    QCOMPARE(app.files.asked[0], QString("导出HTML|计算书-U60.html"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.contains(QStringLiteral("谢才系数：C = 45.034")));
    QVERIFY(html.contains(QStringLiteral("一支渠")));
    QCOMPARE(SessionSheetDetails().channel, QString("一支渠"));  // kept for the session
    // A cancelled dialog writes nothing and says nothing.
    d->findChild<QPushButton*>("htmlButton")->click();
    QVERIFY(app.prompter.notices.empty());
}

// 导出Word… saves a Word package of the sheet, 保存DXF… the drawing for
// CAD, each under its own name, and refused criteria disable 导出Word… too.
void CompanionTest::wordAndDxfGoThroughTheFileDialog() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    QTemporaryDir dir;
    app.files.paths = {dir.filePath("u60.docx"), dir.filePath("u60.dxf")};
    std::unique_ptr<QDialog> sheet(MakeSheetDialog(w, app.windows.services()));
    sheet->findChild<QPushButton*>("docxButton")->click();
    std::unique_ptr<QDialog> drawing(MakeDrawingDialog(w, app.windows.services()));
    drawing->findChild<QPushButton*>("dxfButton")->click();
    QCOMPARE(app.files.asked,
             (std::vector<QString>{"导出Word|计算书-U60.docx", "保存DXF|断面图-U60.dxf"}));
    QFile docx(dir.filePath("u60.docx"));
    QVERIFY(docx.open(QIODevice::ReadOnly));
    const QByteArray zip = docx.readAll();
    QVERIFY(zip.startsWith("PK\x03\x04"));
    QCOMPARE(zip.mid(30, 19), QByteArray("[Content_Types].xml"));  // the first entry
    QVERIFY(zip.contains("word/document.xml"));
    QVERIFY(zip.contains("word/media/drawing1.png"));
    QFile dxf(dir.filePath("u60.dxf"));
    QVERIFY(dxf.open(QIODevice::ReadOnly));
    const QByteArray cad = dxf.readAll();
    QVERIFY(cad.contains("ANSI_936"));
    QVERIFY(cad.contains("\n0\nARC\n"));
    QVERIFY(cad.endsWith("0\nEOF\n"));
    QVERIFY(app.prompter.notices.empty());

    auto* field = sheet->findChild<QLineEdit*>("maxVelocity");
    field->setText(QStringLiteral("x"));
    emit field->editingFinished();
    QVERIFY(!sheet->findChild<QPushButton*>("docxButton")->isEnabled());
}

// The title block, the basis (one line each, blank lines skipped) and a
// criterion's source reach the exported sheet as typed.
void CompanionTest::sheetCarriesTheTitleBlockBasisAndSources() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    QTemporaryDir dir;
    const QString path = dir.filePath("t.html");
    app.files.paths = {path};
    std::unique_ptr<QDialog> d(MakeSheetDialog(w, app.windows.services()));
    const std::pair<const char*, QString> typed[] = {
        {"unit", QStringLiteral("某水利设计院")},
        {"number", QStringLiteral("JS-17")},
        {"checker", QStringLiteral("李四")},
        {"minFreeboard", QStringLiteral("0.02")},
        {"minFreeboardSource", QStringLiteral("GB 50288 第 6.4.5 条")},
    };
    for (const auto& [name, text] : typed) {
        auto* edit = d->findChild<QLineEdit*>(name);
        QVERIFY2(edit != nullptr, name);
        edit->setText(text);
        emit edit->editingFinished();
    }
    d->findChild<QPlainTextEdit*>("basis")->setPlainText(
        QStringLiteral("  GB 50288-2018  \n\nSL 482 第 5.2 条"));
    d->findChild<QPushButton*>("htmlButton")->click();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    for (const QString& expected : {
             QStringLiteral("<td>设计单位</td><td>某水利设计院</td>"),
             QStringLiteral("<td>计算书编号</td><td>JS-17</td>"),
             QStringLiteral(
                 "<h3>计算依据</h3>\n<p>1. GB 50288-2018</p>\n<p>2. SL 482 第 5.2 条</p>\n"),
             QStringLiteral("安全超高不小于 0.02 m（依据：GB 50288 第 6.4.5 条）"),
             QStringLiteral("<tr><td>校核</td><td>李四</td>"),
         }) {
        QVERIFY2(html.contains(expected), qPrintable(expected));
    }
    SessionSheetDetails() = {};
}

// A link (to a file in another folder, or dangling) and a FIFO at the chosen
// path are refused and said; nothing is written through or over them.
void CompanionTest::savingNeverGoesThroughALinkOrOverADevice() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("out"));
    const QString victim = dir.filePath("victim.txt");
    {
        QFile f(victim);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    const QString link = dir.filePath("out/link.svg");
    QVERIFY(QFile::link("../victim.txt", link));
    const QString dangling = dir.filePath("out/dangling.svg");
    QVERIFY(QFile::link(dir.filePath("nothing.txt"), dangling));
    const QString fifo = dir.filePath("out/pipe.svg");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    app.files.paths = {link, dangling, fifo};
    std::unique_ptr<QDialog> d(MakeDrawingDialog(w, app.windows.services()));
    for (int i = 0; i < 3; ++i) {
        d->findChild<QPushButton*>("svgButton")->click();
    }
    const QString linkSaid =
        QStringLiteral("：这是一个符号链接，Veltrane 不通过链接写入文件；请另选文件名。");
    const std::vector<QString> expected = {
        QStringLiteral("Veltrane|无法保存文件 ") + link + linkSaid,
        QStringLiteral("Veltrane|无法保存文件 ") + dangling + linkSaid,
        QStringLiteral("Veltrane|无法保存文件 ") + fifo +
            QStringLiteral("：这不是普通文件（设备、管道或套接字），保存会替换它；请另选文件名。"),
    };
    QCOMPARE(app.prompter.notices, expected);
    QFile kept(victim);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("keep"));
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(!QFile::exists(dir.filePath("nothing.txt")));
    struct stat st {};
    QCOMPARE(lstat(QFile::encodeName(fifo).constData(), &st), 0);
    QVERIFY(S_ISFIFO(st.st_mode));
}

void CompanionTest::theNextSaveOpensInTheLastFolder() {
    LastFolder last;
    QCOMPARE(last.suggest("a.svg"), QString("a.svg"));
    last.remember("/srv/渠道/b.html");
    QCOMPARE(last.suggest("a.svg"), QString("/srv/渠道/a.svg"));
    last.remember(QString());  // a cancelled dialog
    QCOMPARE(last.suggest("c.pdf"), QString("/srv/渠道/c.pdf"));
}

void CompanionTest::aFailedSaveSaysWhy() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    QTemporaryDir dir;
    const QString path = dir.filePath("no-such-folder/u60.svg");
    app.files.paths = {path};
    std::unique_ptr<QDialog> d(MakeDrawingDialog(w, app.windows.services()));
    d->findChild<QPushButton*>("svgButton")->click();
    QCOMPARE(app.prompter.notices.size(), std::size_t{1});
    QCOMPARE(app.prompter.notices[0],
             QStringLiteral("Veltrane|无法保存文件 ") + path + QStringLiteral("：文件夹不存在"));
    QVERIFY(!QFile::exists(path));
}

// A write the system cuts short (here a file-size limit of 64 bytes, as a
// full disk would) is said with the system's reason, and leaves nothing.
void CompanionTest::aWriteTheSystemRefusesSaysWhy() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    QTemporaryDir dir;
    const QString path = dir.filePath("u60.svg");
    app.files.paths = {path};
    std::unique_ptr<QDialog> d(MakeDrawingDialog(w, app.windows.services()));
    rlimit old{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
    rlimit small = old;
    small.rlim_cur = 64;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    d->findChild<QPushButton*>("svgButton")->click();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    QCOMPARE(app.prompter.notices.size(), std::size_t{1});
    QCOMPARE(app.prompter.notices[0],
             QStringLiteral("Veltrane|无法保存文件 ") + path + QStringLiteral("：文件太大"));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

// "3 m/s" is not a number: the dialog says so, shows no sheet, and neither
// prints nor saves until the field is put right.
void CompanionTest::sheetRefusesAnUnreadableCriterion() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    QTemporaryDir dir;
    app.files.paths = {dir.filePath("u60.html")};
    std::unique_ptr<QDialog> d(MakeSheetDialog(w, app.windows.services()));
    auto* problem = d->findChild<QLabel*>("criteriaProblem");
    auto* preview = d->findChild<QTextBrowser*>("preview");
    QVERIFY(problem->isHidden());
    auto* field = d->findChild<QLineEdit*>("maxVelocity");
    field->setText(QStringLiteral("3 m/s"));
    emit field->editingFinished();
    QCOMPARE(SessionSheetDetails().maxVelocity, QString("3 m/s"));
    QVERIFY(!problem->isHidden());
    QCOMPARE(
        problem->text(),
        QString(
            "最大流速“3 m/s”无效：须为 0 或更大的数（单位 m/s，只填数字）；不设此准则请留空。"));
    QCOMPARE(preview->toPlainText(), QString("设计准则有误，改正后才能预览、保存或打印计算书。"));
    for (const char* name : {"printButton", "pdfButton", "htmlButton"}) {
        auto* b = d->findChild<QPushButton*>(name);
        QVERIFY2(!b->isEnabled(), name);
        b->click();
    }
    QVERIFY(app.files.asked.empty());
    QVERIFY(!QFile::exists(dir.filePath("u60.html")));
    // Put right, the sheet is back and holds the criterion.
    field->setText(QStringLiteral("3"));
    emit field->editingFinished();
    QVERIFY(problem->isHidden());
    QVERIFY(preview->toPlainText().contains(QStringLiteral("谢才系数：C = 45.034")));
    QVERIFY(preview->toPlainText().contains(QStringLiteral("≤ 3 m/s")));
    d->findChild<QPushButton*>("htmlButton")->click();
    QVERIFY(QFile::exists(dir.filePath("u60.html")));
    QVERIFY(app.prompter.notices.empty());
}

void CompanionTest::answersUnderCriteriaRefuseAnUnreadableOne_data() {
    QTest::addColumn<Maker>("make");
    QTest::addColumn<QString>("content");
    QTest::newRow("fit") << Maker(MakeFitDialog) << "fitTable";
    QTest::newRow("design aids") << Maker(MakeDesignAidsDialog) << "capacityText";
}

// Before, "abc" was dropped without a word and the answers came as if no
// criterion had been given.
void CompanionTest::answersUnderCriteriaRefuseAnUnreadableOne() {
    QFETCH(Maker, make);
    QFETCH(QString, content);
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    SessionSheetDetails().minFreeboard = QStringLiteral("abc");
    SessionSheetDetails().minVelocity = QStringLiteral("0.9");
    SessionSheetDetails().maxVelocity = QStringLiteral("0.5");
    std::unique_ptr<QDialog> d(make(w, app.windows.services()));
    const QString text = d->findChild<QLabel*>("rejection")->text();
    QCOMPARE(text,
             QString("最小安全超高“abc”无效：须为 0 或更大的数（单位 m，只填数字）；"
                     "不设此准则请留空。\n最小流速 0.9 m/s 大于最大流速 0.5 m/s：请改正其一。"));
    QCOMPARE(
        QString::fromStdString(testing::ForeignWord(testing::Without(text.toStdString(), "abc"))),
        QString());
    QVERIFY(d->findChild<QWidget*>(content) == nullptr);
}

// U60 with Q 0.25 and k 1.2: U80 carries both, but its freeboard .165 m is
// below 0.2 m, so with that criterion U100 is the smallest.
void CompanionTest::fitHonoursTheSheetsCriteria() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    SetInputs(w, "0.25", "500", "0.017", "1.2");
    std::unique_ptr<QDialog> plain(MakeFitDialog(w, app.windows.services()));
    QVERIFY(
        plain->findChild<QLabel*>("smallest")->text().endsWith(QStringLiteral("U80形渠道构件")));
    SessionSheetDetails().minFreeboard = QStringLiteral("0.2");
    std::unique_ptr<QDialog> strict(MakeFitDialog(w, app.windows.services()));
    QVERIFY(
        strict->findChild<QLabel*>("smallest")->text().endsWith(QStringLiteral("U100形渠道构件")));
    auto* table = strict->findChild<QTableWidget*>("fitTable");
    QCOMPARE(table->item(1, 3)->text(), QString(".165"));
    QCOMPARE(table->item(1, 6)->text(), QString("不满足设计准则"));
}

void CompanionTest::designAidsAnswerForTheWindowsTexts() {
    App app;
    CalculationWindow& w = OpenCalculation(app, SectionSize::U60);
    const auto lines = [](QDialog* d, const char* name) {
        return d->findChild<QPlainTextEdit*>(name)->toPlainText().split('\n');
    };
    std::unique_ptr<QDialog> d(MakeDesignAidsDialog(w, app.windows.services()));
    // 0.2675 gives a report and 0.268 overflows U60 at 1/500; 1/10 is the
    // steepest slope searched.
    QCOMPARE(lines(d.get(), "capacityText").mid(0, 4),
             (QStringList{"纵坡 1/500 下的最大设计流量：Q = 0.2677 m³/s", "",
                          "显示计算成果： U60形渠道构件。 ", "校核流量：Q = .2677"}));
    QCOMPARE(lines(d.get(), "slopeText").mid(0, 5),
             (QStringList{"适用纵坡：1/10 ～ 1/573", "", "最陡 1/10：",
                          "显示计算成果： U60形渠道构件。 ", "校核流量：Q = .25"}));
    // A slope text the calculation rejects leaves the other question standing.
    SetInputs(w, "0.25", "-5", "0.017", "1.0");
    d.reset(MakeDesignAidsDialog(w, app.windows.services()));
    QCOMPARE(lines(d.get(), "capacityText"), QStringList{"设计纵坡不能为负数或0，请重新输入"});
    QCOMPARE(lines(d.get(), "slopeText")[0], QString("适用纵坡：1/10 ～ 1/573"));
    // With a freeboard no slope can give, both say why.
    SetInputs(w, "0.25", "500", "0.017", "1.0");
    SessionSheetDetails().minFreeboard = QStringLiteral("0.6");
    d.reset(MakeDesignAidsDialog(w, app.windows.services()));
    QVERIFY(lines(d.get(), "capacityText")[0].startsWith("纵坡 1/500 下没有满足要求的设计流量（"));
    QVERIFY(lines(d.get(), "slopeText")[0].startsWith("1/10 至 1/100000 之间没有适用的纵坡（"));
}

QTEST_MAIN(CompanionTest)
#include "companion_test.moc"
