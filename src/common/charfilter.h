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
    // For free texts that only refuse a few characters: letters stay as typed.
    void keepLetterCase() { m_upperCase = false; }

    // The key sets of the entry fields (each sees the character upper-cased).
    static bool locatorChar(QChar c);      // A-Z, digits, "?": grid locators
    static bool frequencyChar(QChar c);    // digits, ",", ".": frequencies and orbits
    static bool dateChar(QChar c);         // digits, "/", "?": dates typed day first
    static bool digitChar(QChar c);        // digits, "?": times, azimuth, elevation
    static bool reportChar(QChar c);       // 1-9, ",", ".": reports of the entry panel
    static bool editorReportChar(QChar c); // 1-9, "?": reports of the record editor

private:
    Accept m_accept;
    bool m_upperCase = true;
};

} // namespace vorta
