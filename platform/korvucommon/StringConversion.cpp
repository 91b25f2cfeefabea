#include "StringConversion.h"

#include <cstdint>

namespace Korvu {

namespace {

const char32_t replacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::wstring make_wstring(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        // Length and the allowed range of the second byte follow the table
        // of well-formed sequences; that range is what rules out overlong
        // forms, surrogates and values above U+10FFFF.
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            if (lead == 0xF4)
                high = 0x8F;
        }
        if (length == 0) {
            out += static_cast<wchar_t>(replacement);
            ++i;
            continue;
        }
        char32_t code = lead & (0x7F >> length);
        std::size_t taken = 1;
        for (; taken < length; ++taken) {
            if (i + taken >= size)
                break;
            unsigned char next = static_cast<unsigned char>(text[i + taken]);
            if (next < low || next > high)
                break;
            code = (code << 6) | (next & 0x3F);
            low = 0x80;
            high = 0xBF;
        }
        if (taken < length) {
            out += static_cast<wchar_t>(replacement);
            i += taken;
            continue;
        }
        out += static_cast<wchar_t>(code);
        i += length;
    }
    return out;
}

std::string make_string(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        // Through the unsigned type of the same width, so a negative
        // wchar_t lands above the valid range.
        std::uint32_t c = static_cast<std::uint32_t>(w);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = replacement;
        appendUtf8(out, static_cast<char32_t>(c));
    }
    return out;
}

} // namespace Korvu
