// Text files as Vorta keeps them: written in Windows-1252 with CR LF line ends, atomically (a
// crash, a power cut or a full disk leaves the previous file whole); read as UTF-16 when they
// start with its byte-order mark, as UTF-8 when the bytes are valid UTF-8, else as Windows-1252,
// with LF or CR LF line ends. A file holding a character that Windows-1252 lacks (a log path in
// Cyrillic, say) is written in UTF-8 instead, so that it reads back exactly as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorta {

QString decodeText(const QByteArray &bytes);
// Windows-1252 bytes; a character that Windows-1252 lacks becomes "?" and, when given,
// *lossless is set to false.
QByteArray encodeWindows1252(QStringView text, bool *lossless = nullptr);

// The lines of a text (without their line ends): CR LF, LF or CR alone (a file saved on an old
// Mac) end a line; a last line end adds no empty line.
QStringList textLines(QString text);
// The lines of a text file (textLines), or nothing when it cannot be read.
std::optional<QStringList> readTextLines(const QString &path);

// Writes the lines, each ended by CR LF, atomically. Returns an error text, empty on success.
QString writeTextLines(const QString &path, const QStringList &lines);

// Writes bytes atomically: the file under path is replaced only once the new bytes are all on
// disk. Returns the system's reason for a failure (a full disk, a missing folder, no
// permission), the previous file then being left exactly as it was; empty on success.
QString writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace vorta
