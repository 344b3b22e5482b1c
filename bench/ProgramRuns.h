// What the real programs hold on a large mailbox: `tarvo --check` from an
// empty mailbox to 50,000 messages, and the tray program over many checks;
// and how long `tarvo --check` takes beside other clients.
#pragma once

class DovecotServer;

// Uses the mailboxes of "m1k", "m10k" and "big" (1,000, 10,000 and 50,000
// messages), filled first when deliver, and the empty one of "empty"; the
// users must exist.
void RunProgramBench(DovecotServer& server, bool deliver);
// The start-up and the peak RSS of `tarvo --check` alone, on the same mailboxes.
void RunCommandLineBench(DovecotServer& server, bool deliver);

// `tarvo --check`, from the program's start, at a 20 ms round trip beside the
// write-everything client and mpop (left out, with a note, where it is not
// installed): a first check of 2,000 messages, repeat checks of 2,001 and
// 5,001 with one new. Fills the mailboxes of "sbs2k" and "sbs5k", which must
// exist.
void RunSideBySideBench(DovecotServer& server);
