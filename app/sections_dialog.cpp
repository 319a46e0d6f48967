// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sections_dialog.h"

#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <functional>

#include "app/file_export.h"
#include "cli/input_text.h"
#include "views/section_words.h"

namespace veltrane {

namespace {

constexpr int kColumns = static_cast<int>(views::kSectionColumns.size());

QString U8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::vector<cli::SectionCells> RowsOf(const QTableWidget* table) {
    std::vector<cli::SectionCells> rows(static_cast<std::size_t>(table->rowCount()));
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const QTableWidgetItem* item = table->item(r, c);
            rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                item ? item->text().toStdString() : std::string();
        }
    }
    return rows;
}

void SetRows(QTableWidget* table, const std::vector<cli::SectionCells>& rows) {
    const QSignalBlocker quiet(table);
    table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < kColumns; ++c) {
            table->setItem(r, c,
                           new QTableWidgetItem(
                               U8(rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])));
        }
    }
}

QPushButton* Button(QWidget* parent, const char* name, std::string_view text) {
    auto* b = new QPushButton(U8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(U8(text).remove(u'…'));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

std::vector<cli::SectionCells>& SessionSectionRows() {
    static std::vector<cli::SectionCells> rows;
    return rows;
}

cli::CatalogueReading SessionSections() {
    return cli::ReadSectionTable(SessionSectionRows());
}

QString SectionProblemsText(const cli::CatalogueReading& reading) {
    if (reading.problems.empty()) {
        return {};
    }
    QStringList said{U8(views::kSectionForm.problemsLead)};
    for (const views::SectionProblem& p : reading.problems) {
        said << U8(views::SectionProblemText(p, views::Language::Chinese));
    }
    return said.join(u'\n');
}

QDialog* MakeSectionsDialog(QWidget* parent, AppServices services) {
    const views::SectionFormWords& w = views::kSectionForm;
    auto* d = new QDialog(parent);
    d->setObjectName(QStringLiteral("sectionsDialog"));
    d->setWindowTitle(U8(w.title));
    d->setModal(true);
    auto* layout = new QVBoxLayout(d);
    auto* intro = new QLabel(U8(w.intro), d);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* body = new QHBoxLayout;
    auto* table = new QTableWidget(0, kColumns, d);
    table->setObjectName(QStringLiteral("sectionTable"));
    table->setAccessibleName(U8(w.table));
    QStringList headings;
    for (const views::SectionColumnInfo& c : views::kSectionColumns) {
        headings << U8(c.chinese);
    }
    table->setHorizontalHeaderLabels(headings);
    SetRows(table, SessionSectionRows());
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setMinimumHeight(160);
    body->addWidget(table, 1);
    auto* side = new QVBoxLayout;
    QPushButton* add = Button(d, "addSection", w.add);
    QPushButton* remove = Button(d, "removeSection", w.remove);
    QPushButton* import = Button(d, "importSections", w.importCsv);
    QPushButton* exportCsv = Button(d, "exportSections", w.exportCsv);
    for (QPushButton* b : {add, remove, import, exportCsv}) {
        side->addWidget(b);
    }
    side->addStretch();
    body->addLayout(side);
    layout->addLayout(body, 1);

    // What the table gives: its problems in red, or how many sections it adds.
    auto* status = new QLabel(d);
    status->setObjectName(QStringLiteral("sectionStatus"));
    status->setWordWrap(true);
    layout->addWidget(status);
    const auto check = [=] {
        SessionSectionRows() = RowsOf(table);
        const cli::CatalogueReading reading = SessionSections();
        const QString problems = SectionProblemsText(reading);
        status->setStyleSheet(problems.isEmpty() ? QString() : QStringLiteral("color: #c00"));
        status->setText(!problems.isEmpty() ? problems
                        : reading.sections.userCount() == 0
                            ? U8(w.none)
                            : U8(w.countBefore) + QString::number(reading.sections.userCount()) +
                                  U8(w.countAfter));
    };
    check();
    QObject::connect(table, &QTableWidget::itemChanged, d, check);
    QObject::connect(add, &QPushButton::clicked, d, [=] {
        std::vector<cli::SectionCells> rows = RowsOf(table);
        const int at =
            table->currentRow() < 0 ? static_cast<int>(rows.size()) : table->currentRow() + 1;
        rows.insert(rows.begin() + at, cli::SectionCells{});
        SetRows(table, rows);
        table->setCurrentCell(at, 0);
        check();
    });
    QObject::connect(remove, &QPushButton::clicked, d, [=] {
        std::vector<cli::SectionCells> rows = RowsOf(table);
        const int at = table->currentRow();
        if (at < 0 || at >= static_cast<int>(rows.size())) {
            return;
        }
        rows.erase(rows.begin() + at);
        SetRows(table, rows);
        check();
    });
    QObject::connect(import, &QPushButton::clicked, d, [=] {
        const QString path = services.files.openFileName(d, U8(w.importCsv).remove(u'…'),
                                                         QStringLiteral("CSV (*.csv)"));
        if (path.isEmpty()) {
            return;
        }
        QFile file(path);
        // A catalogue of kMaxUserSections rows is a few kilobytes.
        if (!file.open(QIODevice::ReadOnly) || file.size() > 1024 * 1024) {
            status->setStyleSheet(QStringLiteral("color: #c00"));
            status->setText(QStringLiteral("无法读取文件 %1").arg(path));
            return;
        }
        const QByteArray bytes = file.readAll();
        const cli::InputText text = cli::DecodeInputText(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
            path.toStdString(), views::Language::Chinese);
        const cli::CatalogueCells cells = cli::ReadSectionCells(text.text);
        if (!cells.problems.empty()) {
            QStringList said;
            for (const views::SectionProblem& p : cells.problems) {
                said << U8(views::SectionProblemText(p, views::Language::Chinese));
            }
            status->setStyleSheet(QStringLiteral("color: #c00"));
            status->setText(said.join(u'\n'));
            return;  // a file with a problem changes nothing
        }
        SetRows(table, cells.rows);
        table->resizeColumnsToContents();
        check();
    });
    QObject::connect(exportCsv, &QPushButton::clicked, d, [=] {
        const std::string csv = "\xEF\xBB\xBF" + cli::WriteSectionCatalogue(RowsOf(table));
        SaveThroughDialog(d, services, U8(w.exportCsv).remove(u'…'), U8(w.file),
                          QStringLiteral("CSV (*.csv)"),
                          QByteArray(csv.data(), static_cast<qsizetype>(csv.size())));
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* close = Button(d, "closeButton", "关闭");
    buttons->addWidget(close);
    layout->addLayout(buttons);
    QObject::connect(close, &QPushButton::clicked, d, &QDialog::accept);
    d->resize(760, 420);
    return d;
}

QPushButton* SectionsButton(QWidget* parent, AppServices services,
                            const std::function<void()>& changed) {
    const std::string label = std::string(views::kSectionForm.title) + "…";
    QPushButton* b = Button(parent, "sectionsButton", label);
    QObject::connect(b, &QPushButton::clicked, parent, [=] {
        QDialog* d = MakeSectionsDialog(parent, services);
        d->exec();
        delete d;
        changed();
    });
    return b;
}

}  // namespace veltrane
