// The least a header check can cost: a client that logs in, writes every
// command at once and reads all the replies, with nothing kept. What Tarvo's
// check is measured against.
#pragma once

#include <string>

// Seconds from connect to QUIT's reply; negative when the server could not
// be reached or did not answer in kind. replies counts the TOP replies read.
// address is "127.0.0.1:<port>".
double WriteEverythingCheck(const std::string& address, const std::string& user,
                            const std::string& password, int messages, int& replies);

// The same for IMAP: once greeted it writes LOGIN, EXAMINE INBOX, a UID
// SEARCH of the unseen and undeleted messages whose result the server keeps
// (SEARCHRES, RFC 5182), a UID FETCH of BODY.PEEK[HEADER] for that result
// ("$") and LOGOUT all at once, and reads up to LOGOUT's answer. Seconds from
// connect to that answer, negative when a command failed; headers counts the
// FETCH responses read.
double WriteEverythingImapCheck(const std::string& address, const std::string& user,
                                const std::string& password, int& headers);
