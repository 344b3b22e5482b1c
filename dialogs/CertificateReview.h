// What Certificate... in the account editor does: fetches the server's
// certificate with the usual verification, says first whether this computer
// trusts it, and lets the user trust exactly that certificate where it does
// not, for the account and for the other accounts on the same server.
#pragma once

#include "MessageBoxes.h"
#include "Security.h"
#include "Settings.h"

#include <cstddef>

class QWidget;

// The account's server is reached by this protocol and security, which may
// differ from the account's own until they are stored. The fetch can be
// cancelled from a window of its own; while it runs, that window holds the
// owner's input. The account's certificate (and the other accounts') change
// only as the user answers.
void ReviewCertificate(QWidget* owner, MessageBoxes& boxes, AccountList& accounts,
                       std::size_t account, Protocol protocol, Security security);
