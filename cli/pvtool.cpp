// pvtool: inspect, check, convert and replay Pictavella3 files from the command line.
#include "app/StandardOptions.h"
#include "cli/RecordingCommands.h"
#include "cli/ReplayCommands.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

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
    "  replay FILE -o OUT.png [--steps N]\n"
    "                  replays FILE onto an empty paper and writes the picture after N steps\n"
    "                  (the new paper is step 1), or at the end\n"
    "  frames FILE -d DIR [--every N] [--scale S]\n"
    "                  a time-lapse: DIR/frame-000001.png... every N steps (default 1) and\n"
    "                  at the end, scaled by S (default 1, at most 8); progress on stderr\n"
    "\n"
    "Options:\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "Exit status: 0 success, 1 a damaged recording, a replay that stopped at a packet it\n"
    "cannot play or a refused command (a sealed recording is not replayed), 2 a usage\n"
    "error, 3 a file that cannot be read or written.\n";

// The options after a command's operand: -o/-d take a path, the others a number.
struct ReplayOptions {
    const char *output = nullptr;
    int64_t steps = -1;
    int64_t every = 1;
    double scale = 1.0;
};

std::optional<int64_t> Count(const char *text)
{
    errno = 0;
    char *end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != 0 || value < 1)
        return std::nullopt;
    return value;
}

// Fills options from argv[first..argc); false (with the message printed) on a usage error.
bool ParseReplayOptions(const char *command, const char *outputFlag, int first, int argc, char **argv,
                        ReplayOptions &options)
{
    for (int i = first; i < argc; ++i) {
        const std::string flag = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!value) {
            std::fprintf(stderr, "pvtool: %s: '%s' needs a value\nTry 'pvtool --help'.\n", command, flag.c_str());
            return false;
        }
        ++i;
        bool good = true;
        if (flag == outputFlag) {
            options.output = value;
        } else if (flag == "--steps" && std::strcmp(command, "replay") == 0) {
            const auto n = Count(value);
            good = n.has_value();
            options.steps = n.value_or(0);
        } else if (flag == "--every" && std::strcmp(command, "frames") == 0) {
            const auto n = Count(value);
            good = n.has_value();
            options.every = n.value_or(0);
        } else if (flag == "--scale" && std::strcmp(command, "frames") == 0) {
            char *end = nullptr;
            options.scale = std::strtod(value, &end);
            good = end != value && *end == 0 && options.scale > 0 && options.scale <= 8;
        } else {
            std::fprintf(stderr, "pvtool: %s: unknown option '%s'\nTry 'pvtool --help'.\n", command, flag.c_str());
            return false;
        }
        if (!good) {
            std::fprintf(stderr, "pvtool: %s: bad value '%s' for '%s'\nTry 'pvtool --help'.\n", command, value,
                         flag.c_str());
            return false;
        }
    }
    if (!options.output) {
        std::fprintf(stderr, "pvtool: %s: '%s' is required\nTry 'pvtool --help'.\n", command, outputFlag);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const pv::ProgramDescription program{"pvtool", kUsage};
    // The standard options stand before the command; what follows belongs to the command.
    int leading = 1;
    while (leading < argc && argv[leading][0] == '-')
        ++leading;
    if (auto status = pv::HandleStandardOptions(program, leading, argv))
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
    if ((std::strcmp(command, "replay") == 0 || std::strcmp(command, "frames") == 0) && operands >= 1) {
        const bool replay = command[0] == 'r';
        ReplayOptions options;
        if (!ParseReplayOptions(command, replay ? "-o" : "-d", 3, argc, argv, options))
            return pv::cli::kExitUsage;
        return replay ? pv::cli::Replay(argv[2], options.output, options.steps)
                      : pv::cli::Frames(argv[2], options.output, options.every, options.scale);
    }
    for (const char *known : {"info", "check", "dump", "seal", "replay", "frames"})
        if (std::strcmp(command, known) == 0) {
            std::fprintf(stderr, "pvtool: wrong number of operands for '%s'\nTry 'pvtool --help'.\n", command);
            return pv::cli::kExitUsage;
        }
    std::fprintf(stderr, "pvtool: unknown command '%s'\nTry 'pvtool --help'.\n", command);
    return pv::cli::kExitUsage;
}
