// How a program that checks mailboxes has the C library manage its memory.
#pragma once

// A check of a large mailbox needs lists of a few hundred KiB for moments:
// the unique-ids, the rows being gathered. Once the first such block is
// freed the C library would serve the next ones from the heap instead of a
// mapping of their own, and the heap keeps the holes they leave between
// checks: a program left running would hold a fifth more than it uses.
// Called once, at the start of a program that checks.
void KeepLargeListsOutOfTheHeap();
