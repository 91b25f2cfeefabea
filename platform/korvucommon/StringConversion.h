#ifndef KORVU_STRINGCONVERSION_H
#define KORVU_STRINGCONVERSION_H

#include <string>

#include "KorvuCommonApi.h"

namespace Korvu {

// UTF-8 to wide text, one code point per wchar_t (UTF-32 where wchar_t has
// 32 bits, as on Linux). Independent of the locale. Each ill-formed
// sequence (stray or missing continuation bytes, overlong forms, surrogates,
// values above U+10FFFF) becomes one U+FFFD per maximal ill-formed subsequence.
// Throws only std::bad_alloc.
KORVU_COMMON_API std::wstring make_wstring(const std::string& text);

// Wide text to UTF-8. Values that are no Unicode scalar value (surrogates,
// negative or above U+10FFFF) become U+FFFD. Throws only std::bad_alloc.
KORVU_COMMON_API std::string make_string(const std::wstring& text);

} // namespace Korvu

#endif
