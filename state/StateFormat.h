// The state file's content: for each account, the headers kept by unique-id,
// and the ids of the messages already announced with how many reads of the
// mailbox ago each was last seen. A binary layout of numbers (LEB128) and
// length-prefixed byte strings behind a fixed opening and a version, closed
// by a digest of everything before it, so that a cut, a foreign or a damaged
// file is told from a whole one.
#pragma once

#include "AtomicFile.h"
#include "HeaderCache.h"
#include "KnownMessageIds.h"
#include "MessageTable.h"
#include "Settings.h"

#include <cstddef>
#include <cstdint>
#include <optional>

inline constexpr uint64_t kStateVersion = 1;

// The digest that closes the file: the same state gives the same digest, so
// that a check that changed nothing writes nothing.
uint64_t StateDigest(const HeaderCache& cache, const MessageTable& table,
                     const KnownMessageIds& knownIds);
// Hands the file whose digest that is to sink in pieces; table is the last
// check's. The digest, or none when the sink gave up or the file would be
// larger than maxSize.
std::optional<uint64_t> WriteState(const HeaderCache& cache, const MessageTable& table,
                                   const KnownMessageIds& knownIds, const ContentSink& sink,
                                   std::size_t maxSize);

// Restores what file holds for the mailboxes of accounts, replacing cache
// (unless null: the headers are then read past) and knownIds, and gives the
// digest the file closes with; false, changing neither, when the file is not
// a whole state file of a version this program reads.
bool ReadState(FileReader& file, const AccountList& accounts, HeaderCache* cache,
               KnownMessageIds& knownIds, uint64_t& digest);
