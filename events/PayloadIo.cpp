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

void PayloadWriter::FixedText(const std::string &s, size_t n)
{
    std::string bytes = Utf8ToCp932(s);
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
