#include "common/mnemonics.h"

#include <QSet>

namespace vorta {

namespace {

bool isKeyLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

// Where the mark goes: the index of the chosen letter in plain, or -1.
qsizetype chooseLetter(const QString &plain, const QSet<QChar> &used)
{
    const auto free = [&](qsizetype i) { return isKeyLetter(plain[i]) && !used.contains(plain[i].toUpper()); };
    for (qsizetype i = 0; i < plain.size(); ++i)
        if ((i == 0 || !plain[i - 1].isLetterOrNumber()) && free(i))
            return i;
    for (qsizetype i = 0; i < plain.size(); ++i)
        if (free(i))
            return i;
    return -1;
}

} // namespace

QString withoutMnemonic(const QString &caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != u'&') {
            plain += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == u'&') {
            plain += u'&'; // "&&" is the character itself
            ++i;
        } // a lone "&" is the mark
    }
    return plain;
}

QStringList withMnemonics(const QStringList &captions)
{
    QSet<QChar> used;
    QStringList marked;
    for (const QString &caption : captions) {
        const QString plain = withoutMnemonic(caption);
        const qsizetype at = chooseLetter(plain, used);
        QString out;
        for (qsizetype i = 0; i < plain.size(); ++i) {
            if (i == at)
                out += u'&';
            out += plain[i];
            if (plain[i] == u'&')
                out += u'&';
        }
        if (at >= 0)
            used.insert(plain[at].toUpper());
        marked << out;
    }
    return marked;
}

} // namespace vorta
