#include "sheet_pdf/pdf_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextObjectInterface>
#include <cstdio>
#include <memory>
#include <vector>

#include "sheet/html_writer.h"

namespace veltrane::sheet {

namespace {

constexpr int kSvgObject = QTextFormat::UserObject + 1;
constexpr int kDrawingIndex = QTextFormat::UserProperty + 1;

// Draws the i-th drawing with QSvgRenderer, which paints vectors on a PDF.
class SvgObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

  public:
    explicit SvgObject(std::vector<std::unique_ptr<QSvgRenderer>>& renderers)
        : renderers_(renderers) {}

    QSizeF intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) override {
        const QSvgRenderer* r = Renderer(format);
        if (r == nullptr) {
            return {};
        }
        // The full text width, the drawing's own proportions.
        const QSizeF own = r->viewBoxF().size();
        const double width = doc->pageSize().width() - 2 * doc->documentMargin() - 4;
        return {width, width * own.height() / own.width()};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        if (QSvgRenderer* r = Renderer(format)) {
            r->render(painter, rect);
        }
    }

  private:
    QSvgRenderer* Renderer(const QTextFormat& format) const {
        const int i = format.intProperty(kDrawingIndex);
        return i >= 0 && static_cast<std::size_t>(i) < renderers_.size()
                   ? renderers_[static_cast<std::size_t>(i)].get()
                   : nullptr;
    }

    std::vector<std::unique_ptr<QSvgRenderer>>& renderers_;
};

// Qt's own notes (no runtime folder, fonts it falls back from) are not the
// user's business in a command-line tool; errors still get through.
void QuietNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    qInstallMessageHandler(QuietNotes);
    static int argc = 3;
    static char name[] = "veltrane-calc";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    static QGuiApplication app(argc, argv);
}

// The song faces the windows use, in the order the sheet's style names them.
void InstallFontSubstitutes() {
    const QStringList faces = {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                               QStringLiteral("Noto Serif CJK SC"),
                               QStringLiteral("WenQuanYi Zen Hei")};
    for (const QString& name : {QStringLiteral("SimSun"), QStringLiteral("宋体")}) {
        QFont::insertSubstitutions(name, faces);
    }
}

// Each <img src="drawing:i"> becomes an object that SvgObject draws.
void ReplaceDrawings(QTextDocument& doc) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isImageFormat()) {
                continue;
            }
            const QString name = format.toImageFormat().name();
            if (!name.startsWith(QStringLiteral("drawing:"))) {
                continue;
            }
            QTextCharFormat object;
            object.setObjectType(kSvgObject);
            object.setProperty(kDrawingIndex, name.mid(8).toInt());
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.insertText(QString(QChar::ObjectReplacementCharacter), object);
        }
    }
}

}  // namespace

PdfOutput PrintPdf(const Document& document) {
    EnsureGuiApplication();
    InstallFontSubstitutes();

    std::vector<std::unique_ptr<QSvgRenderer>> renderers;
    for (const Block& block : document.blocks) {
        if (const auto* d = std::get_if<Drawing>(&block)) {
            auto r = std::make_unique<QSvgRenderer>(QByteArray::fromStdString(d->svg));
            if (!r->isValid()) {
                return {{}, "a drawing could not be read"};
            }
            renderers.push_back(std::move(r));
        }
    }

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(QString::fromStdString(document.title));
    writer.setCreator(QStringLiteral("Veltrane"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));

    QTextDocument doc;
    QFont font(QStringLiteral("SimSun"));
    font.setPointSizeF(10.5);
    doc.setDefaultFont(font);
    SvgObject svg(renderers);
    doc.documentLayout()->registerHandler(kSvgObject, &svg);
    doc.setHtml(QString::fromStdString(WriteHtmlForPrinting(document)));
    ReplaceDrawings(doc);
    // Lay out on the printable area in points; print() scales it to the page.
    doc.setPageSize(writer.pageLayout().paintRect(QPageLayout::Point).size());
    doc.setDocumentMargin(0);
    doc.print(&writer);
    buffer.close();
    if (buffer.data().isEmpty()) {
        return {{}, "the PDF could not be made"};
    }
    return {buffer.data().toStdString(), {}};
}

}  // namespace veltrane::sheet

#include "pdf_printer.moc"
