// Fuzzes the event file reader: any bytes give a result code; a file that reads must write
// back and read again to the same stream.
#include "events/EventFile.h"
#include "events/StreamWalk.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace pv::events;
    EventFileContents contents;
    if (ReadEventFile({data, size}, contents, true) != event_file::kOk)
        return 0;
    if (contents.stream.empty() || !WalkStream(contents.stream).valid())
        return 0; // a container holding a stream the recorder would refuse
    int code = 0;
    const auto again = WriteEventFile(contents.header, contents.stream, contents.compressed,
                                      contents.thumbnail ? &*contents.thumbnail : nullptr, code);
    if (!again)
        return 0;
    EventFileContents reread;
    if (ReadEventFile(*again, reread, true) != event_file::kOk || reread.stream != contents.stream)
        std::abort();
    return 0;
}
