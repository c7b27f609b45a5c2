// CP932 ↔ UTF-8 through iconv. ASCII, the common case, is copied without calling iconv.
#include "platform/TextCodec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace pv {
namespace {

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Converts with iconv, putting `replacement` where a sequence cannot be converted.
std::string Convert(const char *to, const char *from, std::string_view input, std::string_view replacement)
{
    if (IsAscii(input))
        return std::string(input);
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(input.size(), '?');
    std::string out;
    char buffer[256];
    char *in = const_cast<char *>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char *dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t r = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or incomplete sequence, or a character without a mapping: replace
            // one input byte (or one UTF-8 character) and go on.
            out.append(replacement);
            size_t step = 1;
            if (std::string_view(from) == "UTF-8")
                while (step < inLeft && (static_cast<unsigned char>(in[step]) & 0xC0) == 0x80)
                    ++step;
            in += step;
            inLeft -= step;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string Cp932ToUtf8(std::string_view cp932)
{
    return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD");
}

std::string Utf8ToCp932(std::string_view utf8)
{
    return Convert("CP932", "UTF-8", utf8, "?");
}

} // namespace pv
