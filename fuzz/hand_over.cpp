// Fuzzes the reader of the messages a later start sends the running instance: any bytes, in
// pieces whose sizes the input chooses, give queries, absolute paths within the size limit,
// or a drop — and after a drop nothing more.
#include "app/HandOver.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using pv::HandOverReader;
    if (size == 0)
        return 0;
    const size_t piece = size_t(data[0] % 16) + 1;
    HandOverReader reader;
    bool queried = false;
    for (size_t at = 1; at < size; at += piece) {
        reader.Append({data + at, std::min(piece, size - at)});
        std::string payload;
        for (HandOverReader::Result r; (r = reader.Next(payload)) != HandOverReader::Result::NeedMore;) {
            if (r == HandOverReader::Result::Drop)
                return 0;
            if (r == HandOverReader::Result::Query) {
                if (queried || payload != pv::kHandOverQuery)
                    std::abort();
                queried = true;
            } else if (!queried || payload.empty() || payload[0] != '/' || payload.size() > HandOverReader::kMaxMessage) {
                std::abort();
            }
        }
    }
    return 0;
}
