// The message boxes the engine shows, as an interface: the desktop shell shows them as
// dialogs; headless runs and tests use the default, which prints the text to stderr and gives
// the safe answer (No, Cancel).
#pragma once

#include <string_view>

namespace pv {

enum class MessageButtons { YesNo, OkCancel, YesNoCancel };
enum class MessageAnswer { Yes, No, Ok, Cancel };

class MessageHost {
public:
    virtual ~MessageHost() = default;
    virtual void Warning(std::string_view text) = 0;
    virtual void Information(std::string_view text) = 0;
    virtual MessageAnswer Ask(std::string_view text, MessageButtons buttons) = 0;
};

// The host in use (never null); SetMessageHost(nullptr) returns to the default.
MessageHost &Messages();
void SetMessageHost(MessageHost *host);

} // namespace pv
