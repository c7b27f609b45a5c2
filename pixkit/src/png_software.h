// The "Software" text for saved PNGs, as last set through ordinal 16 (empty: no chunk).
#pragma once

#include <string>

namespace pixkit {

std::string PngSoftwareText();

} // namespace pixkit
