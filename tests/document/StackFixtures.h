// Small helpers of the document tests: the messages the engine shows, kept for inspection,
// and the serials of a layer stack in order.
#pragma once

#include "document/CLayerMngr.h"
#include "platform/Messages.h"
#include "raster/SLayerParam.h"

#include <string>
#include <vector>

namespace pv::test {

class RecordedMessages : public MessageHost {
public:
    RecordedMessages() { SetMessageHost(this); }
    ~RecordedMessages() override { SetMessageHost(nullptr); }
    void Warning(std::string_view text) override { warnings.emplace_back(text); }
    void Information(std::string_view) override {}
    MessageAnswer Ask(std::string_view, MessageButtons) override { return MessageAnswer::Cancel; }
    std::vector<std::string> warnings;
};

inline std::vector<int32_t> Serials(const CLayerMngr &m)
{
    std::vector<int32_t> s;
    for (int32_t i = 0; i < m.Count(); ++i)
        s.push_back(m.At(i)->serial);
    return s;
}

} // namespace pv::test
