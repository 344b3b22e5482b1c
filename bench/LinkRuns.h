// The benchmark's runs over a delaying link, for memory, and against a server
// that writes each reply in two pieces.
#pragma once

#include "Account.h"

#include <string>

class DovecotServer;

// Each run fills the mailbox of its own user ("first", "repeat", "big",
// "huge", "thirty"), which must exist, with the password user + "-pw".

// Over a 20 ms round trip: a first check of 2,000 messages and a repeat check
// of 5,001 with one new, each against the lockstep conversation unless quick;
// then a full check of 5,001 on loopback, pipelined and lockstep.
void RunLinkBench(DovecotServer& server, bool quick);
// First and repeat checks of 1,000, 10,000 and 50,000 messages at a 20 ms
// round trip ("s1k", "s10k", "s50k"), each beside the write-everything client.
void RunScaleBench(DovecotServer& server);
// Peak memory of checks of 1,000, 10,000 and 50,000 messages (the last one
// repeated 100 times, as the program left running) and of 100,000 with 3 KB
// header blocks ("m1k", "m10k", "big", "huge"), each in a process of its own.
void RunMemoryBench(DovecotServer& server);
// 30 messages from a server that writes status line and block apart under
// Nagle, against Dovecot.
void RunSplitWritesBench(DovecotServer& server);
// Checks of user's mailbox (password user + "-pw") in a process of its own,
// by RunOneCheck: the first, then repeats to checks in all; prints the peak
// memory it reports.
void ChildChecks(const std::string& address, const std::string& user, int checks,
                 Protocol protocol);
// The child's side: one check, then repeat checks.
int RunOneCheck(const char* address, const char* user, const char* password, int checks,
                Protocol protocol);
