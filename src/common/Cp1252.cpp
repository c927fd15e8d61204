#include "Cp1252.h"

#include <array>

namespace Cp1252 {

namespace {

// 0x80..0x9F. The five undefined bytes keep the C1 control of the same value, so that
// decode() followed by encode() gives back every byte.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

char encodeOne(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return char(codePoint);
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == codePoint)
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

QByteArray encode(const QString& text)
{
    QByteArray result;
    appendEncoded(result, text);
    return result;
}

qsizetype appendEncoded(QByteArray& out, QStringView text)
{
    const qsizetype size = text.size();
    const qsizetype start = out.size();
    out.resize(start + size); // never more bytes than UTF-16 units
    char* dest = out.data() + start;
    qsizetype replaced = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            *dest++ = char(c.unicode());
            continue;
        }
        char byte = '?';
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate())
            ++i; // nothing outside the BMP is in the code page
        else if (!c.isSurrogate())
            byte = encodeOne(c.unicode());
        if (byte == '?')
            ++replaced;
        *dest++ = byte;
    }
    out.resize(dest - out.data());
    return replaced;
}

QString decode(const QByteArray& bytes)
{
    QString result(bytes.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = (value >= 0x80 && value <= 0x9F) ? QChar(HighControls[value - 0x80]) : QChar(value);
    }
    return result;
}

} // namespace Cp1252
