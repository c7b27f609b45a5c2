// The messages the application code shows, kept for the tests to read (questions answered No).
#pragma once

#include "platform/Messages.h"

#include <string>
#include <vector>

namespace pv {

class KeptMessages : public MessageHost {
public:
    KeptMessages() { SetMessageHost(this); }
    ~KeptMessages() override { SetMessageHost(nullptr); }
    void Warning(std::string_view text) override { warnings.emplace_back(text); }
    void Information(std::string_view) override {}
    MessageAnswer Ask(std::string_view, MessageButtons) override { return MessageAnswer::No; }
    std::vector<std::string> warnings;
};

} // namespace pv
