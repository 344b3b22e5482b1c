// What the state kept between runs costs and saves: `tarvo --check` run twice,
// and the tray program's start with the state of a large mailbox.
#pragma once

#include <string>

class DovecotServer;

void RunCommandLineStateBench(DovecotServer& server);
// After a check of user's mailbox of messages, delivered first when deliver.
void RunStartStateBench(DovecotServer& server, const char* user, int messages, bool deliver);
// What the state costs the second `tarvo --check` of user's mailbox of
// messages, delivered first, as the command line loads and saves it.
void RunSecondCheckStateBench(DovecotServer& server, const char* user, int messages);
