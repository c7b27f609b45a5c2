// pvtool: inspect, check, convert and replay Pictavella3 files from the command line.
#include "app/StandardOptions.h"

#include <cstdio>

namespace {

constexpr char kUsage[] =
    "Usage: pvtool [--help] [--version] COMMAND [ARGS...]\n"
    "\n"
    "Inspect, check, convert and replay Pictavella3 files without a display.\n"
    "\n"
    "Options:\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n";

} // namespace

int main(int argc, char **argv)
{
    const pv::ProgramDescription program{"pvtool", kUsage};
    if (auto status = pv::HandleStandardOptions(program, argc, argv))
        return *status;
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::fprintf(stderr, "pvtool: unknown command '%s'\nTry 'pvtool --help'.\n", argv[1]);
    return 2;
}
