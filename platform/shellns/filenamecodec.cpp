#include "platform/filenamecodec.h"

namespace pindrel::platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char32_t kReplacement = 0xFFFD;

void appendCodePoint(QString &pOut, char32_t pCode)
{
    if (pCode < 0x10000) {
        pOut.append(QChar(static_cast<char16_t>(pCode)));
    } else {
        pOut.append(QChar(QChar::highSurrogate(pCode)));
        pOut.append(QChar(QChar::lowSurrogate(pCode)));
    }
}

void appendUtf8(QByteArray &pOut, char32_t pCode)
{
    if (pCode < 0x80) {
        pOut.append(static_cast<char>(pCode));
    } else if (pCode < 0x800) {
        pOut.append(static_cast<char>(0xC0 | (pCode >> 6)));
        pOut.append(static_cast<char>(0x80 | (pCode & 0x3F)));
    } else if (pCode < 0x10000) {
        pOut.append(static_cast<char>(0xE0 | (pCode >> 12)));
        pOut.append(static_cast<char>(0x80 | ((pCode >> 6) & 0x3F)));
        pOut.append(static_cast<char>(0x80 | (pCode & 0x3F)));
    } else {
        pOut.append(static_cast<char>(0xF0 | (pCode >> 18)));
        pOut.append(static_cast<char>(0x80 | ((pCode >> 12) & 0x3F)));
        pOut.append(static_cast<char>(0x80 | ((pCode >> 6) & 0x3F)));
        pOut.append(static_cast<char>(0x80 | (pCode & 0x3F)));
    }
}

// Length of the valid UTF-8 sequence at pData[pAt], with its code point; 0 when the bytes
// there do not start one (overlong forms, encoded surrogates and values past U+10FFFF are
// invalid, as a strict decoder has it).
int validSequence(const unsigned char *pData, qsizetype pSize, qsizetype pAt, char32_t &pCode)
{
    const unsigned char lead = pData[pAt];
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        pCode = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (pAt + length > pSize)
        return 0;
    for (int i = 1; i < length; ++i) {
        const unsigned char byte = pData[pAt + i];
        if ((byte & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    pCode = code;
    return length;
}

bool isEscapedByte(char16_t pUnit)
{
    return pUnit >= kEscapeBase + 0x80 && pUnit <= kEscapeBase + 0xFF;
}

} // namespace

QString decodeFileName(const QByteArray &pBytes)
{
    QString text;
    text.reserve(pBytes.size());
    const auto *const data = reinterpret_cast<const unsigned char *>(pBytes.constData());
    const qsizetype size = pBytes.size();
    qsizetype at = 0;
    while (at < size) {
        char32_t code = 0;
        const int length = validSequence(data, size, at, code);
        if (length == 0) {
            // One byte at a time, so the next valid sequence is found again right after it.
            text.append(QChar(static_cast<char16_t>(kEscapeBase + data[at])));
            ++at;
        } else {
            appendCodePoint(text, code);
            at += length;
        }
    }
    return text;
}

QByteArray encodeFileName(const QString &pText)
{
    QByteArray bytes;
    bytes.reserve(pText.size());
    const qsizetype size = pText.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = pText.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < size
            && QChar::isLowSurrogate(pText.at(i + 1).unicode())) {
            appendUtf8(bytes, QChar::surrogateToUcs4(unit, pText.at(i + 1).unicode()));
            ++i;
        } else if (isEscapedByte(unit)) {
            bytes.append(static_cast<char>(unit - kEscapeBase));
        } else if (QChar::isSurrogate(unit)) {
            appendUtf8(bytes, kReplacement);
        } else {
            appendUtf8(bytes, unit);
        }
    }
    return bytes;
}

QString displayFileName(const QString &pText)
{
    QString shown = pText;
    const qsizetype size = shown.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = shown.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < size
            && QChar::isLowSurrogate(shown.at(i + 1).unicode())) {
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            shown[i] = QChar(static_cast<char16_t>(kReplacement));
        }
    }
    return shown;
}

} // namespace pindrel::platform
