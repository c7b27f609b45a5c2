// Diagnostics of the library: the debug output (stderr when PICTAVELLA_DEBUG is set) and the
// process-wide error record that gdllGetExtInfo hands out.
#pragma once

namespace pixkit {

void Debug(const char *format, ...) __attribute__((format(printf, 1, 2)));
// Stores code and message in the error record and repeats the message on the debug output.
void SetError(int code, const char *format, ...) __attribute__((format(printf, 2, 3)));

} // namespace pixkit
