#include "common/charfilter.h"

namespace vorta {

CharFilter::CharFilter(Accept accept, QObject *parent) : QValidator(parent), m_accept(std::move(accept)) {}

QValidator::State CharFilter::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos);
    const QString upper = input.toUpper();
    for (QChar c : upper)
        if (!m_accept(c))
            return Invalid;
    input = upper;
    return Acceptable;
}

bool CharFilter::locatorChar(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'?';
}

} // namespace vorta
