// Parsing the command line.
#include "app/CommandLine.h"

#include "platform/Messages.h"

#include <cctype>
#include <charconv>
#include <string_view>

namespace pv {
namespace {

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i]))
            return false;
    return true;
}

std::optional<int> Decimal(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Applies one switch (the argument without its "-"); false when it is not one of ours.
bool ApplySwitch(std::string_view name, StartOptions &options)
{
    if (SameText(name, "render") || SameText(name, "viewer")) {
        options.unattended = true;
        options.viewer = SameText(name, "viewer");
        return true;
    }
    if (name.empty())
        return false;
    const char first = char(std::toupper((unsigned char)name[0]));
    const std::string_view rest = name.substr(1);
    if (first == 'O') {
        options.outputFolder = rest;
        return true;
    }
    if (first == 'W' || first == 'T') {
        const std::optional<int> value = Decimal(rest);
        if (!value)
            return false;
        if (first == 'W')
            options.reportFd = *value;
        else
            options.reportDelay = *value;
        return true;
    }
    return false;
}

} // namespace

StartOptions ParseCommandLine(std::span<const char *const> args)
{
    StartOptions options;
    bool switches = true;
    for (const char *arg : args) {
        const std::string_view text = arg;
        if (switches && text == "--") {
            switches = false;
            continue;
        }
        if (switches && text.starts_with('-')) {
            if (!ApplySwitch(text.substr(1), options))
                Messages().Warning(std::string(kUnknownSwitch) + std::string(text));
            continue;
        }
        options.files.emplace_back(text);
    }
    return options;
}

} // namespace pv
