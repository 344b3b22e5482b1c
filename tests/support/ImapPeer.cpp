#include "ImapPeer.h"

namespace testpeer {

Step Tagged(std::string text, std::string untagged) {
    return ReplyWith(
        [text = std::move(text), untagged = std::move(untagged)](const std::string& line) {
            return untagged + line.substr(0, line.find(' ')) + " " + text + "\r\n";
        });
}

Script ImapLogin(const std::string& capabilities) {
    return {Send("* OK [CAPABILITY " + capabilities + "] ready\r\n"),
            Tagged("OK [CAPABILITY " + capabilities + "] Logged in")};
}

} // namespace testpeer
