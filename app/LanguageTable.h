// The language table: the program's texts are the Japanese ones built in; a UTF-8 table
// pictavella3.enu (one "id<TAB>text" per line, \r \n \t \\ escaped, # comments) beside the
// program or in the data folder replaces those it names. The table is optional, but one that
// is present and cannot be read stops the start.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pv {

inline constexpr const char *kLanguageTableName = "pictavella3.enu";
inline constexpr const char *kLanguageTableFailed = "Failed to load \"%s\"!";

class LanguageTable {
public:
    // Reads the table; false (the table left empty, problem set) on a line that is not
    // "id<TAB>text", text that is not UTF-8, or a file that cannot be read.
    bool Load(const std::filesystem::path &path, std::string &problem);
    // The same for the table's text.
    bool Parse(std::string_view text, std::string &problem);
    bool Loaded() const { return loaded_; }
    // The table's text for id, or the built-in text.
    std::string_view Text(std::string_view id, std::string_view builtIn) const;

private:
    std::map<std::string, std::string, std::less<>> texts_;
    bool loaded_ = false;
};

// The table beside the program, else the one in the data folder; nothing when neither exists.
std::optional<std::filesystem::path> FindLanguageTable(const std::filesystem::path &programFolder,
                                                       const std::filesystem::path &dataFolder);

} // namespace pv
