#include "common/textfile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace vorta {

QString decodeText(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252", QStringDecoder::Flag::Stateless);
    if (cp1252.isValid())
        return cp1252.decode(view);
    return QString::fromLatin1(view);
}

QByteArray encodeWindows1252(QStringView text, bool *lossless)
{
    if (lossless)
        *lossless = true;
    // One byte per character at most; the bytes are written in place and the array is cut to
    // its length at the end (an export encodes megabytes, where appending byte by byte shows).
    QByteArray out(text.size(), Qt::Uninitialized);
    char *next = out.data();
    QStringEncoder encoder("windows-1252", QStringEncoder::Flag::Stateless);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80) {
            *next++ = char(c.unicode());
            continue;
        }
        // One character at a time, so that an unmappable one is replaced by "?" rather than
        // by whatever substitute byte the converter would pick.
        const bool pair = c.isHighSurrogate() && i + 1 < text.size();
        const QStringView one = text.sliced(i, pair ? 2 : 1);
        if (pair)
            ++i;
        QByteArray bytes;
        if (encoder.isValid()) {
            bytes = encoder.encode(one);
            if (encoder.hasError()) {
                encoder.resetState();
                bytes.clear();
            }
        } else if (!pair && c.unicode() < 0x100) {
            bytes.append(char(c.unicode()));
        }
        const bool mapped = bytes.size() == 1 && bytes[0] != '\x1A';
        if (!mapped && lossless)
            *lossless = false;
        *next++ = mapped ? bytes[0] : '?';
    }
    out.truncate(next - out.data());
    return out;
}

std::optional<QStringList> readTextLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString text = decodeText(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString writeTextLines(const QString &path, const QStringList &lines)
{
    const QString text = lines.join(QStringLiteral("\r\n")) + (lines.isEmpty() ? QString() : QStringLiteral("\r\n"));
    bool lossless = true;
    QByteArray bytes = encodeWindows1252(text, &lossless);
    if (!lossless)
        bytes = text.toUtf8();
    return writeFileAtomically(path, bytes);
}

QString writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace vorta
