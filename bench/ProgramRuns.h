// What the real programs hold on a large mailbox: `tarvo --check` from an
// empty mailbox to 50,000 messages, and the tray program over many checks.
#pragma once

class DovecotServer;

// Uses the mailboxes of "m1k", "m10k" and "big" (1,000, 10,000 and 50,000
// messages), filled first when deliver, and the empty one of "empty"; the
// users must exist.
void RunProgramBench(DovecotServer& server, bool deliver);
// The start-up and the peak RSS of `tarvo --check` alone, on the same mailboxes.
void RunCommandLineBench(DovecotServer& server, bool deliver);
