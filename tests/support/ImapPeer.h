// IMAP for the scripted peer: a command answered under its own tag, and the
// usual greeting and login, so that a case reads as the server's replies and
// the client's exact bytes:
//
//   ScriptedPeer peer(ImapLogin() + Script{Tagged("OK done", "* 2 EXISTS\r\n")});
//   ...
//   EXPECT_EQ(peer.Received(), "a1 LOGIN \"bob\" \"pw\"\r\na2 EXAMINE \"INBOX\"\r\n...");
#pragma once

#include "ScriptedPeer.h"

#include <string>

namespace testpeer {

// Waits for one command and sends the untagged lines, then "<its tag> text".
Step Tagged(std::string text, std::string untagged = {});
// A greeting that lists capabilities, and LOGIN accepted with the list again
// in its answer.
Script ImapLogin(const std::string& capabilities = "IMAP4rev1 IDLE");
// What the client sends to ImapLogin for bob and pw.
inline const std::string kImapLogin = "a1 LOGIN \"bob\" \"pw\"\r\n";

} // namespace testpeer
