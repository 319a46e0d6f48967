// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/companion_dialogs.h"

#include <QBuffer>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/calculation_window.h"
#include "app/companion_session.h"
#include "app/file_export.h"
#include "app/sections_dialog.h"
#include "app/svg_view.h"
#include "handoff/section_dxf.h"
#include "hydraulics/design_aids.h"
#include "hydraulics/flow_extras.h"
#include "sheet/fit_view.h"
#include "sheet/html_writer.h"
#include "sheet/markup.h"
#include "sheet/rating_svg.h"
#include "sheet/section_svg.h"
#include "sheet/sheet_builder.h"
#include "sheet_pdf/pdf_printer.h"
#include "sheet_pdf/printed_drawing.h"
#include "sheet_pdf/sheet_pages.h"
#include "sheet_pdf/sheet_text_document.h"
#include "views/criteria.h"
#include "views/dates.h"
#include "views/design_aid_text.h"

namespace veltrane {

namespace {

QString U8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QByteArray Bytes(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

QDialog* NewDialog(CalculationWindow& window, const QString& name, const QString& title) {
    auto* d = new QDialog(&window);
    d->setObjectName(name);
    d->setWindowTitle(title);
    d->setModal(true);
    d->setAttribute(Qt::WA_DeleteOnClose, false);
    return d;
}

// The row of buttons at the bottom; 关闭 closes the dialog.
QHBoxLayout* ButtonRow(QVBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    layout->addLayout(row);
    return row;
}

QPushButton* AddButton(QHBoxLayout* row, QDialog* d, const char* name, const QString& text,
                       const QString& accessible) {
    auto* b = new QPushButton(text, d);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(accessible);
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
}

void AddClose(QHBoxLayout* row, QDialog* d) {
    QPushButton* close =
        AddButton(row, d, "closeButton", QStringLiteral("关闭"), QStringLiteral("关闭"));
    QObject::connect(close, &QPushButton::clicked, d, &QDialog::accept);
}

// The message the run gives for rejected texts, shown inside the dialog.
QLabel* RejectionLabel(QDialog* d, const QString& text) {
    auto* label = new QLabel(text, d);
    label->setObjectName(QStringLiteral("rejection"));
    label->setAccessibleName(QStringLiteral("输入被拒绝"));
    label->setWordWrap(true);
    // One line where it fits a dialog (up to 560 px): a wrap inside a short
    // sentence splits a word ("请重新输 / 入").
    label->setMinimumWidth(std::min(label->fontMetrics().horizontalAdvance(text) + 4, 560));
    return label;
}

// Every column wide enough for its heading and its cells with room between
// them, and the table at least as wide as its columns and its scroll bar, so
// that no column is cut off and no heading touches the next.
void SizeColumns(QTableWidget* table) {
    table->resizeColumnsToContents();
    QHeaderView* header = table->horizontalHeader();
    constexpr int kRoom = 16;  // px beside the widest text of a column
    for (int c = 0; c < table->columnCount(); ++c) {
        header->resizeSection(c, header->sectionSize(c) + kRoom);
    }
    header->setStretchLastSection(true);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setMinimumWidth(header->length() + 2 * table->frameWidth() +
                           table->verticalScrollBar()->sizeHint().width());
}

// A dialog that answers under the 计算书's criteria, when one of them cannot
// be read: it says which, and answers nothing.
QDialog* CriteriaRefused(QDialog* d, QVBoxLayout* layout, const views::CriteriaReading& reading) {
    layout->addWidget(RejectionLabel(d, CriteriaProblemsText(reading)));
    AddClose(ButtonRow(layout), d);
    return d;
}

QString SizeName(SectionSize size) {
    return U8(SectionName(size));
}

}  // namespace

void RunCompanion(QDialog* dialog) {
    dialog->exec();
    delete dialog;
}

QDialog* MakeSheetDialog(CalculationWindow& window, AppServices services) {
    QDialog* d = NewDialog(window, QStringLiteral("sheetDialog"), QStringLiteral("计算书"));
    auto* layout = new QVBoxLayout(d);
    // Who and what on the left, the criteria and the basis on the right, so
    // that the preview keeps its room.
    auto* columns = new QHBoxLayout;
    const std::array forms{new QFormLayout, new QFormLayout};
    for (QFormLayout* form : forms) {
        columns->addLayout(form, 1);
    }
    layout->addLayout(columns);
    SheetDetails& details = SessionSheetDetails();
    const auto criterion = [](views::CriterionField f) {
        return U8(views::FieldLabel(f)) + QStringLiteral("：");
    };
    // "最小安全超高依据：", beside the criterion it cites.
    const auto source = [](views::CriterionField f) {
        return U8(views::kCriterionFields[static_cast<std::size_t>(f)].label) +
               QStringLiteral("依据：");
    };
    const struct {
        const char* name;
        QString label;
        QString SheetDetails::*field;
        int column;
    } fields[] = {
        {"project", QStringLiteral("工程名称："), &SheetDetails::project, 0},
        {"unit", QStringLiteral("设计单位："), &SheetDetails::unit, 0},
        {"stage", QStringLiteral("设计阶段："), &SheetDetails::stage, 0},
        {"number", QStringLiteral("计算书编号："), &SheetDetails::number, 0},
        {"channel", QStringLiteral("渠道名称："), &SheetDetails::channel, 0},
        {"station", QStringLiteral("桩　　号："), &SheetDetails::station, 0},
        {"designer", QStringLiteral("计　　算："), &SheetDetails::designer, 0},
        {"checker", QStringLiteral("校　　核："), &SheetDetails::checker, 0},
        {"approver", QStringLiteral("审　　核："), &SheetDetails::approver, 0},
        {"minFreeboard", criterion(views::CriterionField::MinFreeboard),
         &SheetDetails::minFreeboard, 1},
        {"minFreeboardSource", source(views::CriterionField::MinFreeboard),
         &SheetDetails::minFreeboardSource, 1},
        {"minVelocity", criterion(views::CriterionField::MinVelocity), &SheetDetails::minVelocity,
         1},
        {"minVelocitySource", source(views::CriterionField::MinVelocity),
         &SheetDetails::minVelocitySource, 1},
        {"maxVelocity", criterion(views::CriterionField::MaxVelocity), &SheetDetails::maxVelocity,
         1},
        {"maxVelocitySource", source(views::CriterionField::MaxVelocity),
         &SheetDetails::maxVelocitySource, 1},
        {"minDischarge", criterion(views::CriterionField::MinDischarge),
         &SheetDetails::minDischarge, 1},
    };
    // A criterion that cannot be read is said here, and nothing is previewed,
    // printed or saved until it is put right.
    auto* problem = new QLabel(d);
    problem->setObjectName(QStringLiteral("criteriaProblem"));
    problem->setAccessibleName(QStringLiteral("设计准则有误"));
    problem->setWordWrap(true);
    problem->setStyleSheet(QStringLiteral("color: #b2182b;"));
    auto* preview = new QTextBrowser(d);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setAccessibleName(QStringLiteral("计算书预览"));
    preview->setMinimumSize(640, 360);
    auto sheet = std::make_shared<std::unique_ptr<sheet::SheetTextDocument>>();
    const WindowTexts texts = TextsOf(window);
    // The request for the session's details, or none while a criterion is refused.
    const auto request = [texts]() -> std::optional<sheet::SheetRequest> {
        const SheetDetails& k = SessionSheetDetails();
        const views::CriteriaReading criteria = CriteriaOf(k);
        if (!criteria.ok()) {
            return std::nullopt;
        }
        return sheet::SheetRequest{.section = StandardRef(texts.size),
                                   .discharge = texts.discharge,
                                   .slope = texts.slope,
                                   .roughness = texts.roughness,
                                   .factor = texts.factor,
                                   .reach = ReachDetailsOf(k),
                                   .criteria = criteria.criteria,
                                   .sources = {.minFreeboard = k.minFreeboardSource.toStdString(),
                                               .minVelocity = k.minVelocitySource.toStdString(),
                                               .maxVelocity = k.maxVelocitySource.toStdString()},
                                   .basis = BasisOf(k)};
    };
    QHBoxLayout* row = ButtonRow(layout);
    QPushButton* print =
        AddButton(row, d, "printButton", QStringLiteral("打印…"), QStringLiteral("打印"));
    QPushButton* pdf =
        AddButton(row, d, "pdfButton", QStringLiteral("导出PDF…"), QStringLiteral("导出PDF"));
    QPushButton* html =
        AddButton(row, d, "htmlButton", QStringLiteral("导出HTML…"), QStringLiteral("导出HTML"));
    QPushButton* word =
        AddButton(row, d, "docxButton", QStringLiteral("导出Word…"), QStringLiteral("导出Word"));
    AddClose(row, d);
    // Says a refused criterion, or shows the sheet of the session's details.
    const auto update = [preview, sheet, request, problem, print, pdf, html, word] {
        const std::optional<sheet::SheetRequest> r = request();
        problem->setText(CriteriaProblemsText(CriteriaOf(SessionSheetDetails())));
        problem->setVisible(!r);
        for (QPushButton* b : {print, pdf, html, word}) {
            b->setEnabled(r.has_value());
        }
        if (!r) {
            // The browser lets go of the old document before it is deleted.
            preview->setDocument(nullptr);
            sheet->reset();
            preview->setPlainText(U8(views::kNothingWhileRefused));
            return;
        }
        auto next = std::make_unique<sheet::SheetTextDocument>(sheet::BuildSheet(*r));
        preview->setDocument(&next->document());
        *sheet = std::move(next);
    };
    for (const auto& f : fields) {
        auto* edit = new QLineEdit(details.*(f.field), d);
        edit->setObjectName(QString::fromLatin1(f.name));
        QString accessible = f.label;
        edit->setAccessibleName(accessible.remove(QStringLiteral("：")).remove(u'　'));
        forms[static_cast<std::size_t>(f.column)]->addRow(f.label, edit);
        const auto field = f.field;
        QObject::connect(edit, &QLineEdit::editingFinished, d, [edit, field, update] {
            SessionSheetDetails().*field = edit->text();
            update();
        });
    }
    // 计算依据: one line each, as the engineer cites them.
    auto* basis = new QPlainTextEdit(details.basis, d);
    basis->setObjectName(QStringLiteral("basis"));
    basis->setAccessibleName(QStringLiteral("计算依据"));
    basis->setPlaceholderText(QStringLiteral("每行一条，如标准编号、名称与条款"));
    basis->setTabChangesFocus(true);
    basis->setFixedHeight(basis->fontMetrics().lineSpacing() * 4 + 12);
    forms[1]->addRow(QStringLiteral("计算依据："), basis);
    QObject::connect(basis, &QPlainTextEdit::textChanged, d, [basis, update] {
        SessionSheetDetails().basis = basis->toPlainText();
        update();
    });
    layout->insertWidget(1, problem);
    layout->insertWidget(2, preview, 1);
    update();

    const QString base = QStringLiteral("计算书-") + SizeName(texts.size);
    QObject::connect(print, &QPushButton::clicked, d, [d, request] {
        const std::optional<sheet::SheetRequest> r = request();
        if (!r) {
            return;  // the buttons are disabled while a criterion is refused
        }
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        QPrintDialog dialog(&printer, d);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        // The same pages as the PDF: the same breaks, the same page numbers.
        QPainter painter;
        if (!painter.begin(&printer)) {
            return;
        }
        sheet::PrintPages(sheet::BuildSheet(*r), printer, painter);
        painter.end();
    });
    QObject::connect(pdf, &QPushButton::clicked, d, [d, services, request, base] {
        const std::optional<sheet::SheetRequest> r = request();
        if (!r) {
            return;
        }
        const sheet::PdfOutput out = sheet::PrintPdf(sheet::BuildSheet(*r));
        SaveThroughDialog(d, services, QStringLiteral("导出PDF"), base + QStringLiteral(".pdf"),
                          QStringLiteral("PDF (*.pdf)"), Bytes(out.bytes));
    });
    QObject::connect(html, &QPushButton::clicked, d, [d, services, request, base] {
        const std::optional<sheet::SheetRequest> r = request();
        if (!r) {
            return;
        }
        SaveThroughDialog(d, services, QStringLiteral("导出HTML"), base + QStringLiteral(".html"),
                          QStringLiteral("HTML (*.html)"),
                          Bytes(sheet::WriteHtml(sheet::BuildSheet(*r))));
    });
    QObject::connect(word, &QPushButton::clicked, d, [d, services, request, base] {
        const std::optional<sheet::SheetRequest> r = request();
        if (!r) {
            return;
        }
        SaveDocx(d, services, base, sheet::BuildSheet(*r));
    });
    return d;
}

QDialog* MakeDrawingDialog(CalculationWindow& window, AppServices services) {
    QDialog* d = NewDialog(window, QStringLiteral("drawingDialog"), QStringLiteral("断面图"));
    auto* layout = new QVBoxLayout(d);
    const WindowTexts texts = TextsOf(window);
    const USection& section = LookupSection(texts.size);
    const CalculationOutcome outcome = RunCalculation(section, texts.inputs());
    const QString rejection = RejectionOf(outcome);
    QHBoxLayout* row = nullptr;
    if (!rejection.isEmpty()) {
        layout->addWidget(RejectionLabel(d, rejection));
        row = ButtonRow(layout);
        AddClose(row, d);
        return d;
    }
    const QByteArray svg = Bytes(sheet::RunDrawingSvg(section, texts.inputs(), outcome));
    auto* view = new SvgView(svg, d);
    view->setObjectName(QStringLiteral("drawing"));
    view->setAccessibleName(QStringLiteral("断面图"));
    layout->addWidget(view, 1);
    row = ButtonRow(layout);
    QPushButton* saveSvg =
        AddButton(row, d, "svgButton", QStringLiteral("保存SVG…"), QStringLiteral("保存SVG"));
    QPushButton* saveDxf =
        AddButton(row, d, "dxfButton", QStringLiteral("保存DXF…"), QStringLiteral("保存DXF"));
    QPushButton* savePng =
        AddButton(row, d, "pngButton", QStringLiteral("保存PNG…"), QStringLiteral("保存PNG"));
    AddClose(row, d);
    const QString base = QStringLiteral("断面图-") + SizeName(texts.size);
    const QByteArray dxf = Bytes(handoff::SectionsDxf(
        {sheet::PanelFor(section, outcome)}, sheet::RunDrawingTitle(section, texts.inputs())));
    QObject::connect(saveDxf, &QPushButton::clicked, d, [d, services, dxf, base] {
        SaveThroughDialog(d, services, QStringLiteral("保存DXF"), base + QStringLiteral(".dxf"),
                          QStringLiteral("DXF (*.dxf)"), dxf);
    });
    QObject::connect(saveSvg, &QPushButton::clicked, d, [d, services, svg, base] {
        SaveThroughDialog(d, services, QStringLiteral("保存SVG"), base + QStringLiteral(".svg"),
                          QStringLiteral("SVG (*.svg)"), svg);
    });
    QObject::connect(savePng, &QPushButton::clicked, d, [d, services, svg, base] {
        // Drawn as the PDF draws it: the shapes through Qt SVG, the labels as
        // text in the Song face, which Qt SVG would not find for Chinese.
        const auto drawing = sheet::SplitDrawing(svg.toStdString());
        if (drawing == nullptr) {
            return;
        }
        const QSize size = drawing->shapes->viewBoxF().size().toSize() * sheet::kPngPixelsPerUnit;
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        drawing->Draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        SaveThroughDialog(d, services, QStringLiteral("保存PNG"), base + QStringLiteral(".png"),
                          QStringLiteral("PNG (*.png)"), png);
    });
    return d;
}

// The five sections and the session's own, smallest area first; 自定义断面…
// edits the session's and fits again.
QDialog* MakeFitDialog(CalculationWindow& window, AppServices services) {
    QDialog* d = NewDialog(window, QStringLiteral("fitDialog"), QStringLiteral("选型"));
    auto* layout = new QVBoxLayout(d);
    const WindowTexts texts = TextsOf(window);
    const views::CriteriaReading reading = CriteriaOf(SessionSheetDetails());
    if (!reading.ok()) {
        return CriteriaRefused(d, layout, reading);
    }
    const DesignCriteria criteria = reading.criteria;
    auto* content = new QWidget(d);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content, 1);
    const auto fill = [=] {
        while (QLayoutItem* item = contentLayout->takeAt(0)) {
            delete item->widget();
            delete item;
        }
        const cli::CatalogueReading sections = SessionSections();
        if (!sections.problems.empty()) {
            contentLayout->addWidget(RejectionLabel(d, SectionProblemsText(sections)));
            contentLayout->addStretch();
            return;
        }
        const std::vector<const USection*> order = sections.sections.ByArea();
        const FitResult fit = FitSections(texts.inputs(), criteria, order);
        if (fit.rejected) {
            contentLayout->addWidget(RejectionLabel(d, U8(fit.rejected->text)));
            contentLayout->addStretch();
            return;
        }
        const int rows = static_cast<int>(fit.rows.size());
        auto* table = new QTableWidget(rows, 7, content);
        table->setObjectName(QStringLiteral("fitTable"));
        table->setAccessibleName(QStringLiteral("选型表"));
        QStringList headings;
        for (std::string_view h : sheet::kFitHeadings) {
            headings << U8(h);
        }
        table->setHorizontalHeaderLabels(headings);
        table->verticalHeader()->hide();
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        for (int r = 0; r < rows; ++r) {
            const auto cells = sheet::FitCells(fit.rows[static_cast<std::size_t>(r)]);
            for (int c = 0; c < 7; ++c) {
                table->setItem(r, c, new QTableWidgetItem(U8(cells[static_cast<std::size_t>(c)])));
            }
        }
        SizeColumns(table);
        // Every row in view, up to a dozen: a catalogue makes more than five.
        table->setMinimumHeight(std::min(rows, 12) * table->verticalHeader()->defaultSectionSize() +
                                table->horizontalHeader()->sizeHint().height() +
                                2 * table->frameWidth());
        contentLayout->addWidget(table, 1);
        auto* verdict = new QLabel(U8(sheet::FitVerdict(fit)), content);
        verdict->setObjectName(QStringLiteral("smallest"));
        contentLayout->addWidget(verdict);
        if (!criteria.empty()) {
            contentLayout->addWidget(new QLabel(U8(views::kFitUnderCriteria), content));
        }
    };
    fill();
    QHBoxLayout* row = ButtonRow(layout);
    row->insertWidget(0, SectionsButton(d, services, fill));
    AddClose(row, d);
    return d;
}

QDialog* MakeRatingDialog(CalculationWindow& window, AppServices services) {
    QDialog* d = NewDialog(window, QStringLiteral("ratingDialog"), QStringLiteral("水位流量关系"));
    auto* layout = new QVBoxLayout(d);
    const WindowTexts texts = TextsOf(window);
    const USection& section = LookupSection(texts.size);
    const sheet::RatingView view = sheet::RatingViewFor(section, texts.inputs());
    if (view.message) {
        layout->addWidget(RejectionLabel(d, U8(view.message->text)));
        AddClose(ButtonRow(layout), d);
        return d;
    }
    const std::vector<RatingRow>& rows = view.rows;
    auto* table = new QTableWidget(static_cast<int>(rows.size()), 5, d);
    table->setObjectName(QStringLiteral("ratingTable"));
    table->setAccessibleName(QStringLiteral("水位流量关系表"));
    QStringList headings;
    for (std::string_view h : sheet::kRatingHeadings) {
        headings << U8(h);
    }
    table->setHorizontalHeaderLabels(headings);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const auto cells = sheet::RatingCells(section, rows[static_cast<std::size_t>(r)]);
        for (int c = 0; c < 5; ++c) {
            table->setItem(r, c, new QTableWidgetItem(U8(cells[static_cast<std::size_t>(c)])));
        }
    }
    const std::string csv = sheet::RatingCsv(section, rows);
    SizeColumns(table);
    auto* curve = new SvgView(Bytes(view.svg), d);
    curve->setObjectName(QStringLiteral("ratingCurve"));
    curve->setAccessibleName(QStringLiteral("水位流量关系曲线"));
    curve->setMinimumWidth(400);  // px: the axes' labels readable beside the table
    auto* body = new QHBoxLayout;
    body->addWidget(table, 0);
    body->addWidget(curve, 1);
    layout->addLayout(body, 1);
    QHBoxLayout* row = ButtonRow(layout);
    QPushButton* exportCsv =
        AddButton(row, d, "csvButton", QStringLiteral("导出CSV…"), QStringLiteral("导出CSV"));
    AddClose(row, d);
    QObject::connect(exportCsv, &QPushButton::clicked, d, [d, services, csv, texts] {
        SaveThroughDialog(
            d, services, QStringLiteral("导出CSV"),
            QStringLiteral("水位流量关系-") + SizeName(texts.size) + QStringLiteral(".csv"),
            QStringLiteral("CSV (*.csv)"), QByteArray("\xEF\xBB\xBF") + Bytes(csv));
    });
    return d;
}

QDialog* MakeDesignAidsDialog(CalculationWindow& window, AppServices) {
    QDialog* d =
        NewDialog(window, QStringLiteral("designAidsDialog"), QStringLiteral("按坡度/流量选型"));
    auto* layout = new QVBoxLayout(d);
    const WindowTexts texts = TextsOf(window);
    const USection& section = LookupSection(texts.size);
    const views::CriteriaReading reading = CriteriaOf(SessionSheetDetails());
    if (!reading.ok()) {
        return CriteriaRefused(d, layout, reading);
    }
    const DesignCriteria& criteria = reading.criteria;
    const CapacityResult capacity =
        FindCapacity(section, texts.slope, texts.roughness, texts.factor, criteria);
    const SlopeRange slopes =
        SolveSlope(section, texts.discharge, texts.roughness, texts.factor, criteria);
    if (capacity.rejected && slopes.rejected) {
        // Both questions stop at the same text: the roughness or the factor.
        layout->addWidget(RejectionLabel(d, U8(capacity.rejected->text)));
        AddClose(ButtonRow(layout), d);
        return d;
    }
    const struct {
        QString title;
        const char* name;
        std::string text;
    } answers[] = {
        {QStringLiteral("过流能力（纵坡 1/") + U8(texts.slope) + QStringLiteral("）"),
         "capacityText", views::CapacityText(texts.slope, capacity)},
        {QStringLiteral("适用纵坡（流量 ") + U8(texts.discharge) + QStringLiteral(" m³/s）"),
         "slopeText", views::SlopeRangeText(slopes)},
    };
    auto* body = new QHBoxLayout;
    for (const auto& a : answers) {
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(a.title, d));
        auto* text = new QPlainTextEdit(U8(a.text), d);
        text->setObjectName(QString::fromLatin1(a.name));
        text->setAccessibleName(a.title);
        text->setReadOnly(true);
        text->setMinimumSize(300, 420);
        column->addWidget(text, 1);
        body->addLayout(column, 1);
    }
    layout->addLayout(body, 1);
    if (!criteria.empty()) {
        layout->addWidget(new QLabel(U8(views::kAidsUnderCriteria), d));
    }
    AddClose(ButtonRow(layout), d);
    return d;
}

}  // namespace veltrane
