// The log sink that stands in for debugger output: diagnostics go to stderr when the
// environment variable PICTAVELLA_DEBUG is set, and nowhere otherwise.
#pragma once

#include <string_view>

namespace pv {

bool LogEnabled();
void LogText(std::string_view text);

} // namespace pv
