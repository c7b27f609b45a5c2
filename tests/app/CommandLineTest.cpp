// The command line: switches of either case, values, "--", files, and what an unknown switch
// or a value that is not a number gives.
#include "app/CommandLine.h"
#include "app/ExtensionClass.h"

#include "KeptMessages.h"

#include <gtest/gtest.h>

#include <vector>

namespace pv {
namespace {

TEST(CommandLine, Switches)
{
    const struct {
        std::vector<const char *> args;
        bool unattended, viewer;
        std::string folder;
        std::optional<int> fd;
        int delay;
        std::vector<std::string> files;
        std::vector<std::string> warnings;
    } cases[] = {
        {{"a.pe3"}, false, false, "", {}, 0, {"a.pe3"}, {}},
        {{"-render", "a.pe3"}, true, false, "", {}, 0, {"a.pe3"}, {}},
        {{"-RENDER", "a.pe3"}, true, false, "", {}, 0, {"a.pe3"}, {}},
        {{"-Viewer", "-T3", "a.pe3"}, true, true, "", {}, 3, {"a.pe3"}, {}},
        {{"-render", "-O/tmp/out dir", "-W7", "a.pe3"}, true, false, "/tmp/out dir", 7, 0, {"a.pe3"}, {}},
        {{"-o/x", "-w12", "-t0"}, false, false, "/x", 12, 0, {}, {}},
        {{"-X", "b.png"}, false, false, "", {}, 0, {"b.png"}, {std::string(kUnknownSwitch) + "-X"}},
        {{"-W1x", "-T", "-"}, false, false, "", {}, 0, {},
         {std::string(kUnknownSwitch) + "-W1x", std::string(kUnknownSwitch) + "-T", std::string(kUnknownSwitch) + "-"}},
        {{"--", "-render", "c.pe3"}, false, false, "", {}, 0, {"-render", "c.pe3"}, {}},
        {{"a.pe3", "-viewer", "b.pe3"}, true, true, "", {}, 0, {"a.pe3", "b.pe3"}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.empty() ? "" : c.args.front());
        KeptMessages messages;
        const StartOptions options = ParseCommandLine(c.args);
        EXPECT_EQ(c.unattended, options.unattended);
        EXPECT_EQ(c.viewer, options.viewer);
        EXPECT_EQ(c.folder, options.outputFolder);
        EXPECT_EQ(c.fd, options.reportFd);
        EXPECT_EQ(c.delay, options.reportDelay);
        EXPECT_EQ(c.files, options.files);
        EXPECT_EQ(c.warnings, messages.warnings);
    }
}

TEST(CommandLine, ExtensionClasses)
{
    const struct {
        const char *name;
        FileClass kind;
    } cases[] = {
        {"a.pe3", FileClass::Events}, {"/x/A.VA3", FileClass::Events}, {"b.Pes", FileClass::EventsV2},
        {"c.wpe", FileClass::OldEvents}, {"d.pci", FileClass::Native}, {"e.PSD", FileClass::Psd},
        {"f.jpg", FileClass::Jpeg}, {"g.jpeg", FileClass::Unsupported}, {"pe3", FileClass::Unsupported},
        {"h.png", FileClass::Png}, {"i.bmp", FileClass::Bmp}, {"j.wpb", FileClass::OldLayered},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.kind, ExtensionClass(c.name)) << c.name;
}

} // namespace
} // namespace pv
