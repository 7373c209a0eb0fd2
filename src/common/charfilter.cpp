#include "common/charfilter.h"

namespace vorta {

CharFilter::CharFilter(Accept accept, QObject *parent) : QValidator(parent), m_accept(std::move(accept)) {}

QValidator::State CharFilter::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos);
    const QString checked = m_upperCase ? input.toUpper() : input;
    for (QChar c : checked)
        if (!m_accept(c))
            return Invalid;
    input = checked;
    return Acceptable;
}

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

bool CharFilter::locatorChar(QChar c)
{
    return (c >= u'A' && c <= u'Z') || isDigit(c) || c == u'?';
}

bool CharFilter::frequencyChar(QChar c)
{
    return isDigit(c) || c == u',' || c == u'.';
}

bool CharFilter::dateChar(QChar c)
{
    return isDigit(c) || c == u'/' || c == u'?';
}

bool CharFilter::digitChar(QChar c)
{
    return isDigit(c) || c == u'?';
}

bool CharFilter::reportChar(QChar c)
{
    return (c >= u'1' && c <= u'9') || c == u',' || c == u'.';
}

bool CharFilter::editorReportChar(QChar c)
{
    return (c >= u'1' && c <= u'9') || c == u'?';
}

} // namespace vorta
