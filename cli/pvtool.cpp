// pvtool: inspect, check, convert and replay Pictavella3 files from the command line.
#include "app/StandardOptions.h"
#include "cli/RecordingCommands.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kUsage[] =
    "Usage: pvtool [--help] [--version] COMMAND [ARGS...]\n"
    "\n"
    "Inspect, check, convert and replay Pictavella3 files without a display.\n"
    "\n"
    "Commands on event recordings (.pe3, .va3, .pes):\n"
    "  info FILE       container, paper size, generation, stream version, steps, length,\n"
    "                  seal and thumbnail\n"
    "  check FILE      walks the stream: prints ok, or where the first invalid packet is\n"
    "  dump FILE       one line per packet: offset, step, group and code, length, key fields\n"
    "  seal IN OUT     writes a sealed copy of IN to OUT (IN stays as it is)\n"
    "\n"
    "Options:\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "Exit status: 0 success, 1 a damaged recording or a refused command, 2 a usage error,\n"
    "3 a file that cannot be read or written.\n";

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
    const char *command = argv[1];
    const int operands = argc - 2;
    if (std::strcmp(command, "info") == 0 && operands == 1)
        return pv::cli::Info(argv[2]);
    if (std::strcmp(command, "check") == 0 && operands == 1)
        return pv::cli::Check(argv[2]);
    if (std::strcmp(command, "dump") == 0 && operands == 1)
        return pv::cli::Dump(argv[2]);
    if (std::strcmp(command, "seal") == 0 && operands == 2)
        return pv::cli::Seal(argv[2], argv[3]);
    for (const char *known : {"info", "check", "dump", "seal"})
        if (std::strcmp(command, known) == 0) {
            std::fprintf(stderr, "pvtool: wrong number of operands for '%s'\nTry 'pvtool --help'.\n", command);
            return pv::cli::kExitUsage;
        }
    std::fprintf(stderr, "pvtool: unknown command '%s'\nTry 'pvtool --help'.\n", command);
    return pv::cli::kExitUsage;
}
