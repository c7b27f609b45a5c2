// The default message host: stderr and the safe answer.
#include "platform/Messages.h"

#include <cstdio>

namespace pv {
namespace {

class StderrMessages : public MessageHost {
public:
    void Warning(std::string_view text) override { Print("warning", text); }
    void Information(std::string_view text) override { Print("information", text); }
    MessageAnswer Ask(std::string_view text, MessageButtons buttons) override
    {
        Print("question", text);
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }

private:
    static void Print(const char *kind, std::string_view text)
    {
        std::fprintf(stderr, "pictavella3 %s: %.*s\n", kind, static_cast<int>(text.size()), text.data());
    }
};

StderrMessages gDefault;
MessageHost *gHost = &gDefault;

} // namespace

MessageHost &Messages()
{
    return *gHost;
}

void SetMessageHost(MessageHost *host)
{
    gHost = host ? host : &gDefault;
}

} // namespace pv
