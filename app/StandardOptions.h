// The options every Linux program answers the same way: --help and --version print to
// stdout and end with status 0; an unknown "--" option is reported on stderr with status 2.
#pragma once

#include <optional>
#include <string_view>

namespace pv {

struct ProgramDescription {
    std::string_view name;  // as invoked, e.g. "pvtool"
    std::string_view usage; // the --help text, ending with a newline
};

// Looks at argv for --help, --version or an unknown long option. Returns the exit status
// when the program should stop at once, nothing when it should go on.
std::optional<int> HandleStandardOptions(const ProgramDescription &program, int argc,
                                         const char *const *argv);

} // namespace pv
