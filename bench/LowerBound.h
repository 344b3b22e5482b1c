// The least a header check can cost: a client that logs in, writes every
// TOP at once and reads all the replies, with nothing kept. What Tarvo's
// check is measured against.
#pragma once

#include <string>

// Seconds from connect to QUIT's reply; negative when the server could not
// be reached or did not answer in kind. replies counts the TOP replies read.
// address is "127.0.0.1:<port>".
double WriteEverythingCheck(const std::string& address, const std::string& user,
                            const std::string& password, int messages, int& replies);
