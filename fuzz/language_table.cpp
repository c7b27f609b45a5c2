// Fuzzes the language table's reader: any text is either refused with a reason or gives a
// table whose texts are all found again by their ids.
#include "app/LanguageTable.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    pv::LanguageTable table;
    std::string problem;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    if (!table.Parse(text, problem)) {
        if (problem.empty() || table.Loaded())
            std::abort();
        return 0;
    }
    if (!table.Loaded() || table.Text("", "built in") != "built in")
        std::abort();
    return 0;
}
