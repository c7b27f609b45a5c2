// The text fields of payloads: CP932 bytes in the stream, UTF-8 in the records.
#include "events/PayloadIo.h"

#include "platform/TextCodec.h"

#include <algorithm>

namespace pv::events {

void PayloadReader::Text(std::string &s, uint64_t n)
{
    if (!Have(n)) {
        s.clear();
        return;
    }
    const auto *first = bytes_.data() + pos_;
    const auto *end = std::find(first, first + n, uint8_t{0});
    s = Cp932ToUtf8(std::string_view(reinterpret_cast<const char *>(first), end - first));
    pos_ += n;
}

void PayloadWriter::Text(const std::string &s, uint64_t n)
{
    const std::string bytes = Utf8ToCp932(s);
    if (bytes.size() >= n) {
        ok_ = false;
        return;
    }
    out_.insert(out_.end(), bytes.begin(), bytes.end());
    out_.insert(out_.end(), n - bytes.size(), 0);
}

namespace {

// The longest prefix of CP932 bytes that fits in limit bytes without splitting a two-byte
// character (lead bytes 0x81-0x9F and 0xE0-0xFC).
size_t Cp932Fit(const std::string &bytes, size_t limit)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const size_t length = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ? 2 : 1;
        if (i + length > limit)
            break;
        i += length;
    }
    return std::min(i, bytes.size());
}

} // namespace

void PayloadWriter::FixedText(const std::string &s, size_t n, bool nulTerminated)
{
    std::string bytes = Utf8ToCp932(s);
    bytes.resize(Cp932Fit(bytes, nulTerminated ? n - 1 : n));
    bytes.resize(n, '\0');
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void PayloadWriter::CountedText16(const std::string &s)
{
    const std::string bytes = Utf8ToCp932(s);
    const uint32_t n = TextFieldSize(bytes.size());
    if (n > 0xFFFF) {
        ok_ = false;
        return;
    }
    Le(n, 2);
    out_.insert(out_.end(), bytes.begin(), bytes.end());
    out_.insert(out_.end(), n - bytes.size(), 0);
}

} // namespace pv::events
