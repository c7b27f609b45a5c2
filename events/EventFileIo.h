// Event files on disk: saving a recorder's stream (the End marker around the write, the seal
// when asked, the file replaced atomically so a failed save never destroys the old one) and
// reading a file's chunks for playback.
#pragma once

#include "events/CEventMngr.h"
#include "events/EventFile.h"

#include <filesystem>

namespace pv::events {

namespace event_file {
constexpr int kNoFile = 4;
constexpr int kCannotOpen = 6;
constexpr int kWriteFailed = 8;
constexpr int kNoManager = 40;
} // namespace event_file

// The recorder must be recording with data; the caller has already dropped the redo history
// (the paper's and the ring's). The header's step count is the stream's, End included.
int SaveEventFile(const std::filesystem::path &path, CEventMngr &events, EventFileHeader header, bool compressed,
                  const EventThumbnail *thumbnail, bool sealed);
int LoadEventFile(const std::filesystem::path &path, EventFileContents &out, bool withThumbnail = false);

} // namespace pv::events
