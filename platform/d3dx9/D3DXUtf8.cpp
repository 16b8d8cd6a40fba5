#include "D3DXUtf8.h"

bool WideToUtf8(const wchar_t* wide, std::string* utf8)
{
    utf8->clear();
    if (!wide)
        return false;
    for (const wchar_t* p = wide; *p; ++p) {
        const auto c = static_cast<unsigned long>(*p);
        if (c < 0x80) {
            utf8->push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            utf8->push_back(static_cast<char>(0xC0 | (c >> 6)));
            utf8->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            if (c >= 0xD800 && c <= 0xDFFF)
                return false;
            utf8->push_back(static_cast<char>(0xE0 | (c >> 12)));
            utf8->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            utf8->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c <= 0x10FFFF) {
            utf8->push_back(static_cast<char>(0xF0 | (c >> 18)));
            utf8->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            utf8->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            utf8->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            return false;
        }
    }
    return true;
}
