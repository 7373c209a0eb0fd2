// Turns a help manual written in Markdown, with its screenshots beside it, into the PDF that
// Vorta ships: mkmanual MANUAL.md OUT.pdf
// The PDF's title is the manual's first heading. A picture the text names but that is missing
// fails the build, so a renamed screenshot cannot leave a hole in a manual; so does a system
// without fonts, which would leave the manual without its text.
// Runs without a display (QT_QPA_PLATFORM=offscreen); fonts come from fontconfig.
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace {

// Pictures are laid out at 96 per inch: an A4 page with the 2 cm margins of printing leaves
// about 640 of them in width.
constexpr double kMaxPictureWidth = 620;

int fail(const QString &message)
{
    std::fprintf(stderr, "mkmanual: %s\n", qPrintable(message));
    return 1;
}

QString firstHeading(const QString &markdown)
{
    for (const QString &line : markdown.split(u'\n')) {
        if (line.startsWith(QLatin1String("# ")))
            return line.mid(2).trimmed();
    }
    return {};
}

// Screenshots wider than the page are scaled down to its width, keeping their proportions.
QString fitPictures(QTextDocument &document, const QString &folder)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            const QString path = folder + u'/' + picture.name();
            const QSize size = QImageReader(path).size();
            if (!size.isValid())
                return QStringLiteral("picture not found or unreadable: ") + path;
            picture.setName(QUrl::fromLocalFile(path).toString());
            const double width = std::min<double>(size.width(), kMaxPictureWidth);
            picture.setWidth(width);
            picture.setHeight(width * size.height() / size.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
    }
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3)
        return fail(QStringLiteral("usage: mkmanual MANUAL.md OUT.pdf"));
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    QFile file(input);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read ") + input + QStringLiteral(": ") + file.errorString());
    const QString markdown = QString::fromUtf8(file.readAll());
    const QString title = firstHeading(markdown);
    if (title.isEmpty())
        return fail(input + QStringLiteral(" has no title (a first line \"# ...\")"));

    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    // Without any font the PDF is written all the same, with every word missing from it; a
    // fontconfig without fonts still offers its generic names, which lead to no font at all.
    if (QFontInfo(font).family().isEmpty())
        return fail(QStringLiteral("no font to set the manual in (install fonts-dejavu-core)"));
    document.setDefaultFont(font);
    document.setMarkdown(markdown);
    if (const QString error = fitPictures(document, QFileInfo(input).absolutePath()); !error.isEmpty())
        return fail(error);

    // Written beside the target and renamed when whole, so that a failed or interrupted build
    // never leaves a truncated manual that looks up to date.
    const QString partial = output + QStringLiteral(".part");
    {
        QPdfWriter writer(partial);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Vorta"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        document.print(&writer);
    }
    // QPdfWriter reports no write error: a file that is missing or empty is one.
    QFile::remove(output);
    if (QFileInfo(partial).size() == 0 || !QFile::rename(partial, output)) {
        QFile::remove(partial);
        return fail(QStringLiteral("cannot write ") + output);
    }
    return 0;
}
