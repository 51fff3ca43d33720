// lumora-manual: writes the user manual as a PDF from the Markdown chapters of a folder.
//
//   lumora-manual <output.pdf> <chapter folder>
//
// The chapters are the folder's *.md files in name order; each starts on a new page. The
// first page holds the title and the contents with the page of every chapter and section
// ("#" and "##" headings); every page but the first has its number in the footer. Pictures
// are taken from the paths the chapters give (relative to the folder) and stored in the
// document itself, so that they reach the PDF. A4, no display needed.
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

constexpr int kResolution = 300;    // dots per inch of the PDF's page space
constexpr double kMarginMm = 20.0;  // page margins
constexpr double kFooterMm = 10.0;  // the footer's distance from the text
const char* const kTitle = "Orvenit Lumora – Benutzerhandbuch";

struct Heading {
    QString text;
    int level = 0;
    int blockNumber = 0;
};

int fail(const QString& message) {
    std::fprintf(stderr, "lumora-manual: %s\n", qPrintable(message));
    return 1;
}

// Every picture of the document, loaded from `folder` and stored under the name the chapter
// gives, and shrunk to fit the text width where it is wider. Returns the names it could not
// load.
QStringList addPictures(QTextDocument& doc, const QDir& folder, QSizeF room) {
    QStringList missing;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QString name = format.name();
            QImage image(folder.filePath(name));
            if (image.isNull()) {
                missing << name;
                continue;
            }
            doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
            // Screen pixels at 130 per inch, at most the text width and 45 % of the height.
            const double scale =
                std::min({double(kResolution) / 130.0, room.width() / image.width(),
                          0.45 * room.height() / image.height()});
            // The layout takes an image's size in pixels at 96 per inch.
            format.setWidth(image.width() * scale * 96.0 / kResolution);
            format.setHeight(image.height() * scale * 96.0 / kResolution);
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
    return missing;
}

// Thin rules and some room around the cells of every table.
void frameTables(QTextFrame* frame) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            QTextTableFormat format = table->format();
            format.setBorder(1);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setBorderBrush(Qt::darkGray);
            format.setBorderCollapse(true);
            format.setCellSpacing(0);
            format.setCellPadding(3);
            table->setFormat(format);
        }
        frameTables(child);
    }
}

// The page (from 1) on which a block starts.
int pageOf(const QTextDocument& doc, const QTextBlock& block) {
    const QTextLayout* layout = block.layout();
    double top = layout->position().y();
    if (layout->lineCount() > 0) top += layout->lineAt(0).y();
    return int(std::floor(top / doc.pageSize().height())) + 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Runs where there is no display (the build): the offscreen platform unless one is set.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A build has no session; a private runtime folder spares the platform's warning.
    std::optional<QTemporaryDir> runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtime.emplace();
        if (runtime->isValid()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
    }
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3)
        return fail(QStringLiteral("usage: lumora-manual <output.pdf> <chapter folder>"));
    const QString output = args[1];
    const QDir folder(args[2]);
    const QStringList chapters =
        folder.entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name);
    if (chapters.isEmpty()) return fail(QStringLiteral("no chapters in %1").arg(folder.path()));

    QSaveFile file(output);
    if (!QDir().mkpath(QFileInfo(output).absolutePath()) || !file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1").arg(output));
    QPdfWriter writer(&file);
    writer.setResolution(kResolution);
    writer.setTitle(QString::fromUtf8(kTitle));
    writer.setCreator(QStringLiteral("lumora-manual"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                     QPageLayout::Millimeter));
    const QRect text = writer.pageLayout().paintRectPixels(kResolution);
    const int footer = int(kFooterMm / 25.4 * kResolution);

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    QFont font(QStringLiteral("Liberation Sans"), 10);
    font.setStyleHint(QFont::SansSerif);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setPageSize(QSizeF(text.width(), text.height() - footer));

    // The chapters as one document; each chapter's first heading starts a page.
    QString markdown;
    for (const QString& name : chapters) {
        QFile in(folder.filePath(name));
        if (!in.open(QIODevice::ReadOnly)) return fail(QStringLiteral("cannot read %1").arg(name));
        markdown += QString::fromUtf8(in.readAll()) + QStringLiteral("\n\n");
    }
    doc.setMarkdown(markdown);
    std::vector<Heading> headings;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const int level = b.blockFormat().headingLevel();
        if (level == 1 || level == 2) headings.push_back({b.text(), level, b.blockNumber()});
        if (level == 1) {
            QTextBlockFormat f = b.blockFormat();
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(b).setBlockFormat(f);
        }
    }
    const int headingCount = int(headings.size());
    frameTables(doc.rootFrame());

    // Title and a contents placeholder before the chapters, one line per heading, filled in
    // once the pages are known (the numbers take the room of "000", so no page moves).
    QTextCursor cursor(&doc);
    cursor.insertBlock();
    cursor.movePosition(QTextCursor::Start);
    QTextBlockFormat titleFormat;
    titleFormat.setAlignment(Qt::AlignHCenter);
    titleFormat.setBottomMargin(text.height() / 20.0);
    QTextCharFormat titleChars;
    titleChars.setFontPointSize(22);
    titleChars.setFontWeight(QFont::Bold);
    cursor.setBlockFormat(titleFormat);
    cursor.setCharFormat(titleChars);
    cursor.insertText(QString::fromUtf8(kTitle), titleChars);
    QTextCharFormat contentsTitle;
    contentsTitle.setFontPointSize(14);
    contentsTitle.setFontWeight(QFont::Bold);
    QTextBlockFormat plain;
    plain.setBottomMargin(12);
    cursor.insertBlock(plain, contentsTitle);
    cursor.insertText(QStringLiteral("Inhalt"), contentsTitle);
    const int contentsStart = cursor.block().blockNumber() + 1;
    // Each entry is laid out with its final format and "000" for the page; the number
    // replaces that once the pages are known, right-aligned, so no line moves.
    const auto indent = [](const Heading& h) {
        return h.level == 1 ? QString() : QStringLiteral("\u2003\u2003");
    };
    const auto entryChars = [](const Heading& h) {
        QTextCharFormat chars;
        chars.setFontWeight(h.level == 1 ? QFont::Bold : QFont::Normal);
        return chars;
    };
    for (const Heading& h : headings) {
        QTextBlockFormat entry;
        entry.setTabPositions(
            {QTextOption::Tab((text.width() - 4) * 96.0 / kResolution, QTextOption::RightTab)});
        if (h.level == 1) entry.setTopMargin(6);
        cursor.insertBlock(entry, entryChars(h));
        cursor.insertText(indent(h) + h.text + QStringLiteral("\t000"), entryChars(h));
    }
    const int shift = contentsStart + headingCount;

    const QStringList missing = addPictures(doc, folder, doc.pageSize());
    if (!missing.isEmpty())
        return fail(QStringLiteral("pictures not found: %1").arg(missing.join(", ")));

    // The pages of the headings, then the contents.
    doc.documentLayout()->documentSize();  // lays the document out
    std::vector<int> pages;
    for (const Heading& h : headings)
        pages.push_back(pageOf(doc, doc.findBlockByNumber(h.blockNumber + shift)));
    for (int i = 0; i < headingCount; ++i) {
        QTextCursor entry(doc.findBlockByNumber(contentsStart + i));
        entry.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        const Heading& h = headings[std::size_t(i)];
        entry.insertText(
            indent(h) + h.text + QLatin1Char('\t') + QString::number(pages[std::size_t(i)]),
            entryChars(h));
    }

    // The pages: the document's own pagination, the number below each but the first.
    QPainter painter(&writer);
    if (!painter.isActive()) return fail(QStringLiteral("cannot paint into %1").arg(output));
    const int pageCount = doc.pageCount();
    const double pageHeight = doc.pageSize().height();
    QFont footerFont = font;
    footerFont.setPointSize(9);
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0) writer.newPage();
        painter.save();
        painter.translate(0, -page * pageHeight);
        const QRectF clip(0, page * pageHeight, text.width(), pageHeight);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(clip);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
        if (page > 0) {
            painter.setFont(footerFont);
            painter.drawText(QRectF(0, text.height() - footer / 2, text.width(), footer / 2),
                             Qt::AlignHCenter | Qt::AlignBottom,
                             QStringLiteral("Seite %1 von %2").arg(page + 1).arg(pageCount));
        }
    }
    painter.end();
    if (!file.commit()) return fail(QStringLiteral("cannot write %1").arg(output));
    return 0;
}
