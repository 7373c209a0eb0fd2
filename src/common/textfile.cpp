#include "common/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace vorta {

QString decodeText(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    // Windows editors save "Unicode" text as UTF-16 with its byte-order mark; without reading
    // it so, not one key of a configuration would be found.
    for (auto [mark, encoding] : {std::pair{"\xFF\xFE", QStringDecoder::Utf16LE},
                                  std::pair{"\xFE\xFF", QStringDecoder::Utf16BE}}) {
        if (view.startsWith(mark)) {
            QStringDecoder utf16(encoding, QStringDecoder::Flag::Stateless);
            return utf16.decode(view.sliced(2));
        }
    }
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
    return textLines(decodeText(file.readAll()));
}

QStringList textLines(QString text)
{
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

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Makes the rename itself durable. A failure here leaves the new file in place but perhaps not
// yet recorded on disk; there is nothing better to do than go on.
void syncFolderOf(const QString &path)
{
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder < 0)
        return;
    ::fsync(folder);
    ::close(folder);
}

} // namespace

QString writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    // QSaveFile writes a temporary file beside the target and renames it over the target on
    // commit. Buffered, its write() only fills memory, and Qt's commit() renames even when the
    // final flush failed, so a full disk would put a short or empty file in place of a whole
    // one: every write is checked here, and any failure cancels, leaving the previous file as it
    // was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    const auto cancel = [&file](const QString &reason) {
        file.cancelWriting(); // the temporary file is removed, the target left alone
        return reason;
    };
    // Unbuffered, and again after a short write: only the write that fails outright carries
    // the system's reason.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return cancel(file.errorString());
        done += written;
    }
    // On disk before the rename: after a power cut the name holds either the old file or the
    // whole new one, never an empty one. Some file systems only report a full disk here.
    if (::fsync(file.handle()) != 0)
        return cancel(systemError(errno));
    if (!file.commit())
        return file.errorString();
    syncFolderOf(path);
    return {};
}

} // namespace vorta
