// Event files on disk.
#include "events/EventFileIo.h"

#include "platform/AtomicFile.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace pv::events {

using namespace event_file;

int SaveEventFile(const std::filesystem::path &path, CEventMngr &events, EventFileHeader header, bool compressed,
                  const EventThumbnail *thumbnail, bool sealed)
{
    if (!events.IsRecording() || !events.HasData())
        return kNoManager;
    int code = kOk;
    const bool saved = events.SaveStream(sealed, [&] {
        header.stepCount = uint32_t(events.StepCount());
        const std::vector<uint8_t> stream = events.CopyStream();
        std::optional<std::vector<uint8_t>> file = WriteEventFile(header, stream, compressed, thumbnail, code);
        if (!file)
            return false;
        if (!WriteFileAtomically(path, file->data(), file->size())) {
            code = kWriteFailed;
            return false;
        }
        return true;
    });
    if (!saved && code == kOk)
        code = kInvalidStream; // the seal found no PaperFlags packet, or the End marker stayed
    return code;
}

int LoadEventFile(const std::filesystem::path &path, EventFileContents &out, bool withThumbnail)
{
    out = {};
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return kNoFile;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return kCannotOpen;
    std::vector<uint8_t> bytes;
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::bad_alloc &) {
        return kNoMemory;
    }
    if (in.bad())
        return kReadFailed;
    return ReadEventFile(bytes, out, withThumbnail);
}

} // namespace pv::events
