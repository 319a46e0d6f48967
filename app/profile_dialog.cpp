// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/profile_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "app/calculation_window.h"
#include "app/companion_session.h"
#include "app/file_export.h"
#include "app/sections_dialog.h"
#include "app/svg_view.h"
#include "canal/water_surface.h"
#include "cli/input_text.h"
#include "cli/profile_conditions.h"
#include "cli/profile_csv.h"
#include "cli/profile_rows.h"
#include "handoff/profile_dxf.h"
#include "sheet/html_writer.h"
#include "sheet/profile_sheet.h"
#include "sheet/profile_svg.h"
#include "sheet_pdf/pdf_printer.h"
#include "views/criteria.h"
#include "views/numbers.h"
#include "views/profile_view.h"
#include "views/profile_words.h"

namespace veltrane {

namespace {

constexpr int kColumns = static_cast<int>(views::kProfileColumns.size());
using Row = std::array<QString, views::kProfileColumns.size()>;

QString U8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QByteArray Bytes(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

// What the dialog keeps for the rest of the session (the program stores no
// settings): the reaches as typed, and the run's conditions.
struct ProfileSession {
    std::vector<Row> rows;
    QString factor, level, spacing = QStringLiteral("100");
    int end = 0;  // canal::EndCondition
};

ProfileSession& Session() {
    static ProfileSession session;
    return session;
}

// The table's texts as the canal file's cells, read by the one reader
// veltrane-calc and the page use.
std::vector<cli::ProfileCells> CellsOf(const std::vector<Row>& rows) {
    std::vector<cli::ProfileCells> cells(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            cells[r][c] = rows[r][c].trimmed().toStdString();
        }
    }
    return cells;
}

std::vector<Row> RowsOf(const QTableWidget* table) {
    std::vector<Row> rows(static_cast<std::size_t>(table->rowCount()));
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const QTableWidgetItem* item = table->item(r, c);
            rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                item ? item->text() : QString();
        }
    }
    return rows;
}

void SetRows(QTableWidget* table, const std::vector<Row>& rows) {
    table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < kColumns; ++c) {
            table->setItem(r, c,
                           new QTableWidgetItem(
                               rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
        }
    }
}

// A file's rows, by the reader's columns (any order, English or Chinese
// headers), each cell's text as the file gives it; or, for a file with any
// problem, no row and its problems in Chinese.
std::vector<Row> ImportRows(const std::string& text, const SectionSet& sections, QString& problem) {
    const cli::ProfileReading reading = cli::ReadProfileRows(text, sections);
    std::vector<Row> rows;
    if (!reading.ok()) {
        QStringList said;
        for (const views::ProfileProblem& p : reading.problems) {
            said << U8(views::ProfileProblemText(p, views::Language::Chinese));
        }
        problem = said.join(u'\n');
        return rows;
    }
    for (const cli::ProfileCells& cells : reading.cells) {
        Row& row = rows.emplace_back();
        for (std::size_t c = 0; c < cells.size(); ++c) {
            row[c] = U8(cells[c]);  // as the file writes it, never rounded
        }
    }
    return rows;
}

QTableWidget* StationTable(QWidget* parent, const char* name) {
    auto* t = new QTableWidget(0, static_cast<int>(views::StationHeadings().size()), parent);
    t->setObjectName(QString::fromLatin1(name));
    QStringList headings;
    for (std::string_view h : views::StationHeadings()) {
        headings << U8(h);
    }
    t->setHorizontalHeaderLabels(headings);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return t;
}

void FillStations(QTableWidget* t, const canal::CanalRequest& request,
                  const canal::FlowProfile& flow) {
    t->setRowCount(static_cast<int>(flow.stations.size()));
    for (int r = 0; r < t->rowCount(); ++r) {
        const canal::Station& s = flow.stations[static_cast<std::size_t>(r)];
        const std::vector<std::string> cells = views::StationCells(request, s);
        for (int c = 0; c < t->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(U8(cells[static_cast<std::size_t>(c)]));
            if (s.freeboard < 0) {
                item->setForeground(Qt::red);
            }
            t->setItem(r, c, item);
        }
    }
    t->resizeColumnsToContents();
}

// What the checks come to, in a line each.
QString ChecksText(const canal::CanalRequest& request, const canal::CanalProfile& p) {
    QStringList lines;
    for (const std::string& line : views::CheckLines(request, p)) {
        lines << U8(line);
    }
    return lines.join(u'\n');
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(QString(text).remove(u'…'));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

void ForgetProfileSession() {
    Session() = {};
}

QDialog* MakeProfileDialog(CalculationWindow& window, AppServices services) {
    auto* d = new QDialog(&window);
    d->setObjectName(QStringLiteral("profileDialog"));
    d->setWindowTitle(U8(views::kProfileForm.title));
    d->setModal(true);
    auto* layout = new QVBoxLayout(d);
    ProfileSession& session = Session();

    // The reaches, the window's reach first: its size, slope, roughness and
    // discharge as the window's boxes hold them.
    const WindowTexts texts = TextsOf(window);
    if (session.rows.empty()) {
        session.rows.push_back({});
        session.factor = QString::fromStdString(texts.factor).trimmed();
    }
    Row& first = session.rows.front();
    first[static_cast<std::size_t>(views::ProfileColumn::Size)] = U8(SectionName(texts.size));
    first[static_cast<std::size_t>(views::ProfileColumn::Slope)] =
        QString::fromStdString(texts.slope).trimmed();
    first[static_cast<std::size_t>(views::ProfileColumn::Roughness)] =
        QString::fromStdString(texts.roughness).trimmed();
    first[static_cast<std::size_t>(views::ProfileColumn::Discharge)] =
        QString::fromStdString(texts.discharge).trimmed();

    layout->addWidget(new QLabel(U8(views::kProfileForm.reaches), d));
    auto* body = new QHBoxLayout;
    auto* reaches = new QTableWidget(0, kColumns, d);
    reaches->setObjectName(QStringLiteral("reachTable"));
    reaches->setAccessibleName(U8(views::kProfileForm.reachTable));
    QStringList headings;
    for (const views::ProfileColumnInfo& c : views::kProfileColumns) {
        headings << U8(c.heading);
    }
    reaches->setHorizontalHeaderLabels(headings);
    SetRows(reaches, session.rows);
    reaches->resizeColumnsToContents();
    reaches->setMinimumHeight(140);
    body->addWidget(reaches, 1);
    auto* side = new QVBoxLayout;
    QPushButton* add = Button(d, "addReach", U8(views::kProfileForm.add));
    QPushButton* remove = Button(d, "removeReach", U8(views::kProfileForm.remove));
    QPushButton* up = Button(d, "moveUp", U8(views::kProfileForm.up));
    QPushButton* down = Button(d, "moveDown", U8(views::kProfileForm.down));
    QPushButton* import = Button(d, "importCsv", U8(views::kProfileForm.importCsv));
    QPushButton* exportReaches = Button(d, "exportReaches", U8(views::kProfileForm.exportReaches));
    for (QPushButton* b : {add, remove, up, down, import, exportReaches}) {
        side->addWidget(b);
    }
    // The session's own sections, which the size column may name.
    side->addWidget(SectionsButton(d, services, [] {}));
    side->addStretch();
    body->addLayout(side);
    layout->addLayout(body, 1);

    auto* form = new QFormLayout;
    auto* factor = new QLineEdit(session.factor, d);
    factor->setObjectName(QStringLiteral("factor"));
    form->addRow(U8(views::kProfileForm.factor), factor);
    auto* endRow = new QHBoxLayout;
    auto* end = new QComboBox(d);
    end->setObjectName(QStringLiteral("endCondition"));
    for (std::string_view choice : views::kProfileForm.ends) {
        end->addItem(U8(choice));
    }
    end->setCurrentIndex(session.end);
    auto* level = new QLineEdit(session.level, d);
    level->setObjectName(QStringLiteral("endLevel"));
    level->setPlaceholderText(U8(views::kProfileForm.level));
    level->setEnabled(session.end == 2);
    endRow->addWidget(end);
    endRow->addWidget(level);
    form->addRow(U8(views::kProfileForm.end), endRow);
    auto* spacing = new QLineEdit(session.spacing, d);
    spacing->setObjectName(QStringLiteral("spacing"));
    form->addRow(U8(views::kProfileForm.spacing), spacing);
    auto* freeboard = new QLineEdit(SessionSheetDetails().minFreeboard, d);
    freeboard->setObjectName(QStringLiteral("minFreeboard"));
    freeboard->setPlaceholderText(U8(views::kProfileForm.noCheck));
    form->addRow(U8(views::kProfileForm.minFreeboard), freeboard);
    layout->addLayout(form);

    auto* problems = new QLabel(d);
    problems->setObjectName(QStringLiteral("problems"));
    problems->setStyleSheet(QStringLiteral("color: #c00"));
    problems->setWordWrap(true);
    problems->hide();
    layout->addWidget(problems);

    auto* results = new QTabWidget(d);
    results->setObjectName(QStringLiteral("results"));
    QTableWidget* design = StationTable(d, "designStations");
    QTableWidget* check = StationTable(d, "checkStations");
    results->addTab(design, U8(views::FlowName(canal::FlowKind::Design, views::Language::Chinese)));
    results->addTab(check, U8(views::FlowName(canal::FlowKind::Check, views::Language::Chinese)));
    auto* drawingTab = new QWidget(d);
    auto* drawingLayout = new QVBoxLayout(drawingTab);
    results->addTab(drawingTab, U8(views::kProfileForm.drawing));
    layout->addWidget(results, 2);
    auto* checks = new QLabel(d);
    checks->setObjectName(QStringLiteral("checks"));
    checks->setWordWrap(true);
    layout->addWidget(checks);

    auto* buttons = new QHBoxLayout;
    QPushButton* compute = Button(d, "computeButton", U8(views::kProfileForm.compute));
    compute->setDefault(true);
    QPushButton* pdf = Button(d, "pdfButton", U8(views::kProfileForm.pdf));
    QPushButton* html = Button(d, "htmlButton", U8(views::kProfileForm.html));
    QPushButton* csv = Button(d, "csvButton", U8(views::kProfileForm.csv));
    QPushButton* svg = Button(d, "svgButton", U8(views::kProfileForm.svg));
    QPushButton* dxf = Button(d, "dxfButton", U8(views::kProfileForm.dxf));
    QPushButton* word = Button(d, "docxButton", U8(views::kProfileForm.docx));
    QPushButton* close = Button(d, "closeButton", U8(views::kProfileForm.close));
    buttons->addWidget(compute);
    buttons->addStretch();
    for (QPushButton* b : {pdf, html, word, csv, svg, dxf, close}) {
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    // The last run, for the exports; none until 计算 succeeds, and none
    // again once anything it was made from changes.
    struct Run {
        canal::CanalRequest request;
        canal::CanalProfile profile;
    };
    auto last = std::make_shared<std::optional<Run>>();
    const auto exportsOn = [=](bool on) {
        for (QPushButton* b : {pdf, html, word, csv, svg, dxf}) {
            b->setEnabled(on);
        }
    };
    exportsOn(false);
    const auto keep = [=] {
        Session().rows = RowsOf(reaches);
        Session().factor = factor->text();
        Session().level = level->text();
        Session().spacing = spacing->text();
        Session().end = end->currentIndex();
    };
    const auto stale = [=] {
        keep();
        last->reset();
        exportsOn(false);
    };
    QObject::connect(reaches, &QTableWidget::itemChanged, d, stale);
    for (QLineEdit* e : {factor, level, spacing, freeboard}) {
        QObject::connect(e, &QLineEdit::textEdited, d, stale);
    }
    QObject::connect(end, &QComboBox::currentIndexChanged, d, [=](int index) {
        level->setEnabled(index == 2);
        stale();
    });

    const auto moveRow = [=](int from, int to) {
        std::vector<Row> rows = RowsOf(reaches);
        if (from < 0 || to < 0 || from >= static_cast<int>(rows.size()) ||
            to >= static_cast<int>(rows.size())) {
            return;
        }
        std::swap(rows[static_cast<std::size_t>(from)], rows[static_cast<std::size_t>(to)]);
        const QSignalBlocker quiet(reaches);
        SetRows(reaches, rows);
        reaches->setCurrentCell(to, reaches->currentColumn());
        stale();
    };
    QObject::connect(add, &QPushButton::clicked, d, [=] {
        std::vector<Row> rows = RowsOf(reaches);
        const int at =
            reaches->currentRow() < 0 ? static_cast<int>(rows.size()) : reaches->currentRow() + 1;
        rows.insert(rows.begin() + at, Row{});
        const QSignalBlocker quiet(reaches);
        SetRows(reaches, rows);
        reaches->setCurrentCell(at, 0);
        stale();
    });
    QObject::connect(remove, &QPushButton::clicked, d, [=] {
        std::vector<Row> rows = RowsOf(reaches);
        const int at = reaches->currentRow();
        if (at < 0 || rows.size() <= 1) {
            return;  // one reach at least
        }
        rows.erase(rows.begin() + at);
        const QSignalBlocker quiet(reaches);
        SetRows(reaches, rows);
        stale();
    });
    QObject::connect(up, &QPushButton::clicked, d,
                     [=] { moveRow(reaches->currentRow(), reaches->currentRow() - 1); });
    QObject::connect(down, &QPushButton::clicked, d,
                     [=] { moveRow(reaches->currentRow(), reaches->currentRow() + 1); });
    QObject::connect(import, &QPushButton::clicked, d, [=] {
        const QString path = services.files.openFileName(d, QStringLiteral("导入CSV"),
                                                         QStringLiteral("CSV (*.csv)"));
        if (path.isEmpty()) {
            return;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.size() > 16 * 1024 * 1024) {
            problems->setText(QStringLiteral("无法读取文件 %1").arg(path));
            problems->show();
            return;
        }
        const QByteArray bytes = file.readAll();
        const cli::InputText text = cli::DecodeInputText(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
            path.toStdString(), views::Language::Chinese);
        const cli::CatalogueReading sections = SessionSections();
        QString problem = SectionProblemsText(sections);
        const std::vector<Row> rows = problem.isEmpty()
                                          ? ImportRows(text.text, sections.sections, problem)
                                          : std::vector<Row>();
        problems->setText(problem);
        problems->setVisible(!problem.isEmpty());
        if (!rows.empty()) {
            const QSignalBlocker quiet(reaches);
            SetRows(reaches, rows);
            reaches->resizeColumnsToContents();
            stale();
        }
    });
    QObject::connect(exportReaches, &QPushButton::clicked, d, [=] {
        SaveThroughDialog(
            d, services, QStringLiteral("导出CSV"), U8(views::kProfileForm.reachesFile),
            QStringLiteral("CSV (*.csv)"),
            QByteArray("\xEF\xBB\xBF") + Bytes(cli::WriteProfileRows(CellsOf(RowsOf(reaches)))));
    });

    QObject::connect(compute, &QPushButton::clicked, d, [=] {
        keep();
        QStringList said;
        const cli::CatalogueReading sections = SessionSections();
        if (!sections.problems.empty()) {
            said << SectionProblemsText(sections);
        }
        const cli::ProfileReading reading =
            cli::ReadProfileTable(CellsOf(RowsOf(reaches)), sections.sections);
        for (const views::ProfileProblem& p : reading.problems) {
            said << U8(views::ProfileProblemText(p, views::Language::Chinese));
        }
        canal::CanalRequest request;
        request.reaches = reading.reaches;
        const std::string factorText = factor->text().toStdString();
        const std::string spacingText = spacing->text().toStdString();
        const std::string freeboardText = freeboard->text().toStdString();
        static constexpr std::string_view kEnds[] = {"normal", "critical"};
        const std::string endText = end->currentIndex() < 2
                                        ? std::string(kEnds[end->currentIndex()])
                                        : level->text().toStdString();
        std::vector<views::ConditionProblem> refused =
            cli::ReadConditionTexts({.factor = factorText,
                                     .end = endText,
                                     .spacing = spacingText,
                                     .minFreeboard = freeboardText},
                                    request);
        if (said.isEmpty() && refused.empty()) {
            if (auto tooMany = cli::TooManyStations(request, spacingText)) {
                refused.push_back(*std::move(tooMany));
            }
        }
        for (const views::ConditionProblem& p : refused) {
            said << U8(views::ConditionProblemText(p, views::Language::Chinese));
        }
        problems->setText(said.join(u'\n'));
        problems->setVisible(!said.isEmpty());
        last->reset();
        exportsOn(false);
        if (!said.isEmpty()) {
            return;
        }
        canal::CanalProfile profile = canal::ComputeProfile(request);
        FillStations(design, request, profile.flows[0]);
        FillStations(check, request, profile.flows[1]);
        while (QLayoutItem* item = drawingLayout->takeAt(0)) {
            delete item->widget();
            delete item;
        }
        auto* view =
            new SvgView(Bytes(sheet::LongitudinalProfileSvg(request, profile)), drawingTab);
        view->setObjectName(QStringLiteral("profileDrawing"));
        drawingLayout->addWidget(view);
        checks->setText(ChecksText(request, profile));
        *last = Run{std::move(request), std::move(profile)};
        exportsOn(true);
    });

    const auto sheetOf = [=] {
        return sheet::BuildProfileSheet({.canal = (*last)->request,
                                         .details = ReachDetailsOf(SessionSheetDetails()),
                                         .basis = BasisOf(SessionSheetDetails())},
                                        (*last)->profile);
    };
    QObject::connect(pdf, &QPushButton::clicked, d, [=] {
        if (!*last) {
            return;
        }
        const sheet::PdfOutput out = sheet::PrintPdf(sheetOf());
        SaveThroughDialog(d, services, QStringLiteral("导出PDF"),
                          U8(views::kProfileForm.sheetFile) + QStringLiteral(".pdf"),
                          QStringLiteral("PDF (*.pdf)"), Bytes(out.bytes));
    });
    QObject::connect(html, &QPushButton::clicked, d, [=] {
        if (!*last) {
            return;
        }
        SaveThroughDialog(d, services, QStringLiteral("导出HTML"),
                          U8(views::kProfileForm.sheetFile) + QStringLiteral(".html"),
                          QStringLiteral("HTML (*.html)"), Bytes(sheet::WriteHtml(sheetOf())));
    });
    QObject::connect(csv, &QPushButton::clicked, d, [=] {
        if (!*last) {
            return;
        }
        SaveThroughDialog(
            d, services, QStringLiteral("导出结果CSV"), U8(views::kProfileForm.stationsFile),
            QStringLiteral("CSV (*.csv)"),
            QByteArray("\xEF\xBB\xBF") +
                Bytes(cli::ProfileCsv((*last)->request, (*last)->profile, views::Language::Chinese,
                                      cli::CsvFor::Spreadsheets)));
    });
    QObject::connect(svg, &QPushButton::clicked, d, [=] {
        if (!*last) {
            return;
        }
        SaveThroughDialog(d, services, QStringLiteral("保存SVG"),
                          U8(views::kProfileForm.drawingFile) + QStringLiteral(".svg"),
                          QStringLiteral("SVG (*.svg)"),
                          Bytes(sheet::LongitudinalProfileSvg((*last)->request, (*last)->profile)));
    });
    QObject::connect(dxf, &QPushButton::clicked, d, [=] {
        if (!*last) {
            return;
        }
        SaveThroughDialog(d, services, QStringLiteral("保存DXF"),
                          U8(views::kProfileForm.drawingFile) + QStringLiteral(".dxf"),
                          QStringLiteral("DXF (*.dxf)"),
                          Bytes(handoff::ProfileDxf((*last)->request, (*last)->profile)));
    });
    QObject::connect(word, &QPushButton::clicked, d, [=] {
        if (!*last) {
            return;
        }
        SaveDocx(d, services, U8(views::kProfileForm.sheetFile), sheetOf());
    });
    QObject::connect(close, &QPushButton::clicked, d, &QDialog::accept);
    d->resize(900, 640);
    return d;
}

}  // namespace veltrane
