// --help, --version and unknown long options, shared by pictavella3 and pvtool.
#include "app/StandardOptions.h"

#include <cstdio>
#include <string>

namespace pv {

std::optional<int> HandleStandardOptions(const ProgramDescription &program, int argc,
                                         const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--help") {
            std::fwrite(program.usage.data(), 1, program.usage.size(), stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("%.*s (Pictavella3) %s\n", static_cast<int>(program.name.size()),
                        program.name.data(), PV_VERSION_STRING);
            return 0;
        }
        if (arg.starts_with("--")) {
            std::fprintf(stderr, "%.*s: unknown option '%.*s'\nTry '%.*s --help'.\n",
                         static_cast<int>(program.name.size()), program.name.data(),
                         static_cast<int>(arg.size()), arg.data(),
                         static_cast<int>(program.name.size()), program.name.data());
            return 2;
        }
    }
    return std::nullopt;
}

} // namespace pv
