// The benchmark's runs over a delaying link, for memory, and against a server
// that writes each reply in two pieces.
#pragma once

class DovecotServer;

// Each run fills the mailbox of its own user ("first", "repeat", "big",
// "huge", "thirty"), which must exist, with the password user + "-pw".

// Over a 20 ms round trip: a first check of 2,000 messages and a repeat check
// of 5,001 with one new, each against the lockstep conversation unless quick;
// then a full check of 5,001 on loopback, pipelined and lockstep.
void RunLinkBench(DovecotServer& server, bool quick);
// Peak memory of a check of 50,000 messages and of 100,000 with 3 KB header
// blocks, each in a process of its own.
void RunMemoryBench(DovecotServer& server);
// 30 messages from a server that writes status line and block apart under
// Nagle, against Dovecot.
void RunSplitWritesBench(DovecotServer& server);
// The child's side of RunMemoryBench: one check, then a repeat check.
int RunOneCheck(const char* address, const char* user, const char* password);
