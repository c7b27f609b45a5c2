// Conversion between the UTF-8 text the program holds in memory and the code page 932
// (Shift-JIS) bytes stored in its files and event streams. Characters that cannot be
// represented are replaced ('?' when encoding, U+FFFD when decoding); nothing fails.
#pragma once

#include <string>
#include <string_view>

namespace pv {

std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

} // namespace pv
