// Reading and writing the settings file. Escapes keep every byte representable: names, keys
// and strings escape backslash, '=', '[', ']' and control bytes, so a line never breaks.
#include "platform/SettingsFile.h"

#include "platform/AtomicFile.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace pv {
namespace {

constexpr char kHeader[] =
    "; Pictavella3 settings. Each value is int:<decimal>, double:<number>, str:<text> or hex:<bytes>;\n"
    "; in names and texts \\\\, \\n, \\r, \\t and \\xHH stand for special characters.\n";

std::string Escape(const std::string &s)
{
    std::string out;
    char hex[5];
    for (unsigned char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F || c == '=' || c == '[' || c == ']') {
                std::snprintf(hex, sizeof hex, "\\x%02x", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool Unescape(std::string_view s, std::string &out)
{
    out.clear();
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i >= s.size())
            return false;
        switch (s[i]) {
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
            if (i + 2 >= s.size())
                return false;
            const int hi = HexDigit(s[i + 1]), lo = HexDigit(s[i + 2]);
            if (hi < 0 || lo < 0)
                return false;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
            break;
        }
        default: return false;
        }
    }
    return true;
}

std::string FormatValue(const SettingsValue &value)
{
    char buffer[40];
    switch (value.index()) {
    case 0: return "int:" + std::to_string(std::get<int32_t>(value));
    case 1:
        std::snprintf(buffer, sizeof buffer, "double:%.17g", std::get<double>(value));
        return buffer;
    case 2: return "str:" + Escape(std::get<std::string>(value));
    default: {
        std::string out = "hex:";
        for (uint8_t b : std::get<SettingsBinary>(value)) {
            std::snprintf(buffer, sizeof buffer, "%02x", b);
            out += buffer;
        }
        return out;
    }
    }
}

bool ParseValue(std::string_view text, SettingsValue &value)
{
    auto startsWith = [&](std::string_view prefix) {
        if (!text.starts_with(prefix))
            return false;
        text.remove_prefix(prefix.size());
        return true;
    };
    if (startsWith("int:")) {
        int32_t v = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec != std::errc() || end != text.data() + text.size())
            return false;
        value = v;
        return true;
    }
    if (startsWith("double:")) {
        const std::string copy(text);
        char *end = nullptr;
        errno = 0;
        const double v = std::strtod(copy.c_str(), &end);
        if (copy.empty() || *end != '\0' || !std::isfinite(v))
            return false;
        value = v;
        return true;
    }
    if (startsWith("str:")) {
        std::string s;
        if (!Unescape(text, s))
            return false;
        value = std::move(s);
        return true;
    }
    if (startsWith("hex:")) {
        if (text.size() % 2 != 0)
            return false;
        SettingsBinary bytes;
        for (size_t i = 0; i < text.size(); i += 2) {
            const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
            if (hi < 0 || lo < 0)
                return false;
            bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
        }
        value = std::move(bytes);
        return true;
    }
    return false;
}

} // namespace

std::filesystem::path SettingsFilePath(const std::string &application)
{
    std::filesystem::path base;
    if (const char *xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char *home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".config";
    else
        base = std::filesystem::temp_directory_path();
    return base / "Lumenhaus" / (application + ".ini");
}

std::string FormatSettings(const SettingsStore &store)
{
    std::string out = kHeader;
    for (const auto &[key, values] : store.Keys()) {
        out += "\n[" + Escape(key) + "]\n";
        for (const auto &[name, value] : values)
            out += Escape(name) + "=" + FormatValue(value) + "\n";
    }
    return out;
}

bool ParseSettings(const std::string &text, SettingsStore &store, std::string &problem)
{
    SettingsStore parsed;
    std::istringstream in(text);
    std::string line, key, name;
    bool inKey = false;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        bool ok = false;
        if (line.front() == '[') {
            ok = line.back() == ']' && Unescape(std::string_view(line).substr(1, line.size() - 2), key);
            if (ok) {
                parsed.CreateKey(key);
                inKey = true;
            }
        } else if (const size_t eq = line.find('='); inKey && eq != std::string::npos) {
            SettingsValue value;
            ok = Unescape(std::string_view(line).substr(0, eq), name) &&
                 ParseValue(std::string_view(line).substr(eq + 1), value);
            if (ok)
                parsed.Write(key, name, std::move(value));
        }
        if (!ok) {
            problem = "line " + std::to_string(number) + " cannot be read: " + line.substr(0, 80);
            store = SettingsStore();
            return false;
        }
    }
    store = std::move(parsed);
    return true;
}

SettingsLoad LoadSettingsFile(const std::filesystem::path &path)
{
    SettingsLoad load;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (std::filesystem::exists(path))
            load.problem = "the settings file " + path.string() + " cannot be opened; the default settings are used";
        return load;
    }
    load.existed = true;
    std::ostringstream text;
    text << in.rdbuf();
    std::string why;
    if (!ParseSettings(text.str(), load.store, why))
        load.problem = "the settings file " + path.string() + " is damaged (" + why + "); the default settings are used";
    return load;
}

bool SaveSettingsFile(const std::filesystem::path &path, const SettingsStore &store, std::string *problem)
{
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    const std::string text = FormatSettings(store);
    return WriteFileAtomically(path, text.data(), text.size(), problem);
}

} // namespace pv
