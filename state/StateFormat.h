// The state file's content: for each account, the headers kept by unique-id,
// and the ids of the messages already announced with how many reads of the
// mailbox ago each was last seen. A binary layout of numbers (LEB128) and
// length-prefixed byte strings behind a fixed opening and a version, closed
// by a digest of everything before it, so that a cut, a foreign or a damaged
// file is told from a whole one.
#pragma once

#include "HeaderCache.h"
#include "KnownMessageIds.h"
#include "MessageTable.h"
#include "Settings.h"

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr uint64_t kStateVersion = 1;

// The digest that closes the file: the same state gives the same digest, so
// that a check that changed nothing writes nothing.
uint64_t StateDigest(const HeaderCache& cache, const MessageTable& table,
                     const KnownMessageIds& knownIds);
// The file whose digest that is; table is the last check's.
std::string FormatState(const HeaderCache& cache, const MessageTable& table,
                        const KnownMessageIds& knownIds);
// The digest a whole file closes with; 0 for anything shorter than one.
uint64_t DigestOfFile(std::string_view text);

// Restores what text holds for the mailboxes of accounts, replacing cache
// (unless null: the headers are then read past) and knownIds; false, changing
// neither, when text is not a whole state file of a version this program reads.
bool ParseState(std::string_view text, const AccountList& accounts, HeaderCache* cache,
                KnownMessageIds& knownIds);
