#include "shellns/naturalcompare.h"

namespace pindrel::platform {

namespace {

bool isAsciiDigit(QChar pChar)
{
    return pChar.unicode() >= u'0' && pChar.unicode() <= u'9';
}

int sign(int pValue)
{
    return (pValue > 0) - (pValue < 0);
}

// Compares two digit runs by value without converting them, so that runs longer than any
// integer type still order correctly: strip leading zeros, the longer run is larger, equal
// lengths compare digit by digit.
int compareNumbers(QStringView pA, QStringView pB)
{
    while (pA.size() > 1 && pA.front() == u'0')
        pA = pA.sliced(1);
    while (pB.size() > 1 && pB.front() == u'0')
        pB = pB.sliced(1);
    if (pA.size() != pB.size())
        return pA.size() < pB.size() ? -1 : 1;
    for (qsizetype i = 0; i < pA.size(); ++i) {
        if (pA[i] != pB[i])
            return pA[i] < pB[i] ? -1 : 1;
    }
    return 0;
}

qsizetype digitRun(QStringView pText, qsizetype pFrom)
{
    qsizetype end = pFrom;
    while (end < pText.size() && isAsciiDigit(pText[end]))
        ++end;
    return end - pFrom;
}

} // namespace

int naturalCompare(QStringView pA, QStringView pB)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < pA.size() && j < pB.size()) {
        if (isAsciiDigit(pA[i]) && isAsciiDigit(pB[j])) {
            const qsizetype lengthA = digitRun(pA, i);
            const qsizetype lengthB = digitRun(pB, j);
            const int byValue = compareNumbers(pA.sliced(i, lengthA), pB.sliced(j, lengthB));
            if (byValue != 0)
                return byValue;
            i += lengthA;
            j += lengthB;
            continue;
        }
        const char16_t a = pA[i].toCaseFolded().unicode();
        const char16_t b = pB[j].toCaseFolded().unicode();
        if (a != b)
            return a < b ? -1 : 1;
        ++i;
        ++j;
    }
    const bool restA = i < pA.size();
    const bool restB = j < pB.size();
    if (restA != restB)
        return restA ? 1 : -1;
    // Equal for a reader: fall back to the exact text so that distinct names never tie.
    return sign(pA.compare(pB, Qt::CaseSensitive));
}

} // namespace pindrel::platform
