// The program's command line: the switches of the unattended modes (-render, -viewer, the
// output folder -O<folder>, the report descriptor -W<fd>, the report delay -T<seconds>),
// compared without regard to case, and the files. "--" ends the switches.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pv {

struct StartOptions {
    bool unattended = false;
    bool viewer = false;        // with unattended: replay only; without: render
    std::string outputFolder;   // empty: the input file's folder
    std::optional<int> reportFd;
    int reportDelay = 0;        // seconds a viewer run waits before it reports
    std::vector<std::string> files;
};

inline constexpr const char *kUnknownSwitch = "unknown command line switch!\r    arg = ";

// Parses the arguments after the program name. An unknown switch, or a -W or -T value that is
// not a decimal integer, is reported as a warning and skipped.
StartOptions ParseCommandLine(std::span<const char *const> args);

} // namespace pv
