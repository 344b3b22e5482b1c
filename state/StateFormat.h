// The state file's content: for each account, the headers kept by unique-id
// and whether its server's unique-id listing is to be asked for; the ids of
// the messages already announced with how many reads of the mailbox ago each
// was last seen; and the SASL mechanism each account signed in with. A
// binary layout of numbers (LEB128) and length-prefixed byte strings behind a
// fixed opening and a version, closed by a digest of everything before it,
// so that a cut, a foreign or a damaged file is told from a whole one.
#pragma once

#include "AtomicFile.h"
#include "HeaderCache.h"
#include "KnownMessageIds.h"
#include "LineChannel.h"
#include "MessageTable.h"
#include "Settings.h"
#include "SignInMemory.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// 2 added the mark of a server whose unique-id listing broke off and the
// mechanism each account signed in with; a file of 1 is read as having none.
// 3 closes with a digest taken at memory speed (XXH3) instead of a byte at a
// time (FNV-1a), which the files of 1 and 2 are still read with.
inline constexpr uint64_t kStateVersion = 3;

// Where a file that ReadState has read whole holds its known ids.
struct KnownIdsInFile {
    const std::string& path;
    std::size_t at;
    const AccountList& accounts;
};

// What the file holds, as a program keeps it between checks; table is the
// last check's, whose rows the kept headers point into.
struct StateContent {
    const HeaderCache& cache;
    const MessageTable& table;
    const KnownMessageIds& knownIds;
    const SignInMemory& signIns;
    // When given, the known ids are those of that file for its accounts, as
    // it holds them, instead of knownIds.
    const KnownIdsInFile* knownIdsInFile = nullptr;
};

// The digest that closes a file of this version: the same bytes give the same
// digest in every build, so that a check that changed nothing writes nothing.
uint64_t StateDigest(std::string_view bytes);
// Hands the file to sink in pieces. Its digest, or none when the sink gave up
// or the file would be larger than maxSize.
std::optional<uint64_t> WriteState(const StateContent& state, const ContentSink& sink,
                                   std::size_t maxSize);

struct RestoredState {
    HeaderCache cache;
    KnownMessageIds knownIds;
    SignInMemory signIns;
    uint64_t digest = 0;        // the one the file closes with
    std::size_t knownIdsAt = 0; // where the known ids begin in the file
};
// What file holds for the accounts: the headers only when withHeaders (else
// they are read past). None when the file is not a whole state file of a
// version this program reads, or holds headers that checks within limits
// would not have kept.
std::optional<RestoredState> ReadState(FileReader& file, const AccountList& accounts,
                                       const ChannelLimits& limits, bool withHeaders);
// The digest the file at path closes with, read from its end alone; none
// when it has none to read. Tells whether another program wrote it since.
std::optional<uint64_t> ClosingDigest(const std::string& path);
