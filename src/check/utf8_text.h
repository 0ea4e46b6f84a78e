// Characters written as UTF-8, for texts that come in other forms.
#pragma once

#include <string>
#include <string_view>

namespace check {

// Appends a character; one that UTF-8 cannot hold (a surrogate, NUL, beyond
// U+10FFFF) becomes U+FFFD.
void AppendUtf8(std::string& out, unsigned long code);

// Bytes of code page 1252 as UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);

}  // namespace check
