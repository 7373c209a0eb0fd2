// Small text rules shared by every subsystem: the numeric value of a text, the wildcard pattern
// match, and the "000.000" form in which frequencies are stored.
#pragma once

#include <QString>

namespace vorta {

// The leading decimal number of a text: leading blanks skipped, an optional sign, digits with
// "." as decimal point; reading stops at the first character that cannot continue the number.
// A text without a leading number counts as 0.
double numericValue(QStringView text);

// Whole-text wildcard match: "?" any one character, "#" one digit, "*" any run of characters
// (also none), "[A-Z]" one character of the class ("[!...]" negates it). Case-sensitive.
bool patternMatch(QStringView text, QStringView pattern);

// A frequency text in MHz as a number. The operator may type "," or "." as the decimal point
// (the log stores either, depending on the system's number format), so "," counts as ".".
double frequencyValue(QStringView text);

// A number formatted with at least three integer digits and exactly three decimals
// (145.9 -> "145.900", 29.4 -> "029.400").
QString formatThreeThree(double value);

// A typed frequency as stored: "," read as the decimal point, then formatThreeThree.
QString formatFrequency(QStringView typed);

} // namespace vorta

namespace vorta {

// A Maidenhead grid locator as the operator may enter it: two capital field letters A-R and
// two digits, optionally followed by two capital subsquare letters A-X ("GF05", "GF05TJ").
bool isLocatorFormat(QStringView text);

} // namespace vorta
