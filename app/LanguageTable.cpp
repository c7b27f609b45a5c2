// Reading the language table.
#include "app/LanguageTable.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace pv {
namespace {

// Whether text is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsUtf8(std::string_view text)
{
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 4;
        if (extra == 4 || (extra > 0 && i + extra >= text.size()))
            return false;
        uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next >> 6) != 2)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::optional<std::string> Unescaped(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i]) {
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case '\\': out += '\\'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

} // namespace

bool LanguageTable::Load(const std::filesystem::path &path, std::string &problem)
{
    texts_.clear();
    loaded_ = false;
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        problem = "the file cannot be read";
        return false;
    }
    return Parse(text, problem);
}

bool LanguageTable::Parse(std::string_view text, std::string &problem)
{
    texts_.clear();
    loaded_ = false;
    std::map<std::string, std::string, std::less<>> texts;
    int number = 0;
    for (size_t at = 0; at < text.size();) {
        ++number;
        const size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const size_t tab = line.find('\t');
        std::optional<std::string> value;
        if (tab != std::string_view::npos && tab > 0 && IsUtf8(line))
            value = Unescaped(line.substr(tab + 1));
        if (!value) {
            problem = "line " + std::to_string(number) + " is not an id, a tab and UTF-8 text";
            return false;
        }
        texts.insert_or_assign(std::string(line.substr(0, tab)), std::move(*value));
    }
    texts_ = std::move(texts);
    loaded_ = true;
    return true;
}

std::string_view LanguageTable::Text(std::string_view id, std::string_view builtIn) const
{
    const auto found = texts_.find(id);
    return found == texts_.end() ? builtIn : std::string_view(found->second);
}

std::optional<std::filesystem::path> FindLanguageTable(const std::filesystem::path &programFolder,
                                                       const std::filesystem::path &dataFolder)
{
    for (const std::filesystem::path &folder : {programFolder, dataFolder}) {
        std::error_code error;
        if (!folder.empty() && std::filesystem::exists(folder / kLanguageTableName, error))
            return folder / kLanguageTableName;
    }
    return std::nullopt;
}

} // namespace pv
