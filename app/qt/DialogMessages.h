// The engine's messages as dialogs: warnings with the caption "警告 (Pictavella)", information
// with an OK button, questions with the asked buttons, owned by the active window.
#pragma once

#include "platform/Messages.h"

namespace pv {

class DialogMessages : public MessageHost {
public:
    void Warning(std::string_view text) override;
    void Information(std::string_view text) override;
    MessageAnswer Ask(std::string_view text, MessageButtons buttons) override;
};

} // namespace pv
