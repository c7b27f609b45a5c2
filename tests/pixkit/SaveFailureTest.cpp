// A save that fails while writing (here: the file-size limit is reached) leaves the old file
// as it was and no temporary file behind, for every saver.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>

namespace {

using namespace pixkit_test;

// Lowers the file-size limit for the scope; writes past it fail instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit lowered = previous_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(SaveFailure, OldFileSurvivesAWriteThatFails)
{
    ScratchFolder folder;
    const int32_t width = 300, height = 200;
    const Bytes header = MakeHeader(width, height, 24);
    // Noise, so that every format needs far more than the limit.
    Bytes pixels = PatternPixels(width, height, 24, 1);
    std::mt19937 random(5);
    for (auto &b : pixels)
        b = static_cast<uint8_t>(random());
    const PixkitJpegOptions options{0, 0, 0, 100, 0};
    const struct {
        const char *name;
        int (*save)(const char *, const Bytes &, const Bytes &, const PixkitJpegOptions &);
    } savers[] = {
        {"old.bmp", [](const char *n, const Bytes &h, const Bytes &p, const PixkitJpegOptions &) {
             return bmpSaveImage(n, h.data(), p.data());
         }},
        {"old.png", [](const char *n, const Bytes &h, const Bytes &p, const PixkitJpegOptions &) {
             return pngSaveImage(n, h.data(), p.data(), 0);
         }},
        {"old.jpg", [](const char *n, const Bytes &h, const Bytes &p, const PixkitJpegOptions &o) {
             return jpegSaveImage(n, h.data(), p.data(), &o);
         }},
    };
    for (const auto &saver : savers) {
        SCOPED_TRACE(saver.name);
        const std::string name = folder.File(saver.name);
        const Bytes old(100, 0x42);
        WriteWholeFile(name, old);
        {
            FileSizeLimit limit(4096);
            EXPECT_NE(saver.save(name.c_str(), header, pixels, options), 0);
        }
        EXPECT_EQ(ReadWholeFile(name), old);
        EXPECT_EQ(saver.save(name.c_str(), header, pixels, options), 0);
        EXPECT_GT(ReadWholeFile(name).size(), 4096u);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3);
}

} // namespace
