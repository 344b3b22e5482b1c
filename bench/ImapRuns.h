// The benchmark's IMAP runs: how soon the tray shows mail pushed through the
// connection it holds, first and repeat checks of a large INBOX over a 20 ms
// round trip, and the memory a check needs per unseen message.
#pragma once

class DovecotServer;

// Uses the mailboxes of "ipush", "i50k", "iu10k" and "iu50k", which must
// exist with the password user + "-pw"; fills them first.
void RunImapBench(DovecotServer& server);
