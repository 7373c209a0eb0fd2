// Key filters of the entry fields: a filtered field upper-cases every character it accepts and
// swallows the rest, whether typed or pasted.
#pragma once

#include <QValidator>

#include <functional>

namespace vorta {

class CharFilter : public QValidator
{
public:
    using Accept = std::function<bool(QChar)>;
    // accept sees the character already upper-cased.
    explicit CharFilter(Accept accept, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;

    // Letters A-Z, digits and "?" (grid locators).
    static bool locatorChar(QChar c);

private:
    Accept m_accept;
};

} // namespace vorta
