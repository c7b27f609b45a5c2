// The unattended runs: another program starts pictavella3 -render or -viewer on one file,
// which is replayed to its end without any window; render mode then writes the picture as a
// 24-bit BMP and a sealed copy of the recording into the output folder. The result is
// reported as a line on stdout, on the -W descriptor and as the exit status.
#pragma once

#include "app/CommandLine.h"

#include <filesystem>

namespace pv {

namespace unattended_result {
constexpr int kRendered = 8;     // picture and event file written
constexpr int kWriteFailed = 9;  // a result could not be written (or would replace the input)
constexpr int kCannotOpen = 10;  // no file, not a file this mode opens, or the replay failed
constexpr int kProtected = 11;   // render mode and a sealed recording
constexpr int kViewed = 13;      // viewer mode: replayed to the end
} // namespace unattended_result

// Runs the job on the first file; the result code. Messages go to the message host (stderr).
int RunUnattendedJob(const StartOptions &options);

// The folder the results and marker files go to.
std::filesystem::path OutputFolder(const StartOptions &options, const std::filesystem::path &input);

// The end of a run: the marker file (name.bad for 10, name.prt for 11), the viewer's delay,
// the line on stdout and the code on the report descriptor. Returns the exit status: 0 for
// 8 and 13, the code otherwise.
int ReportResult(const StartOptions &options, int code);

} // namespace pv
