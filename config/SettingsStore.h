// Keeps the options and the accounts from one run to the next under the
// application key: Settings holds Delay, Sound, Message, Notify, Push and
// MailProgram (only when one is chosen); Mailboxes\<n> holds Server, User and
// the scrambled Password of account n, n from 0 without gaps, with its
// Security, Certificate, sign-in (Auth) and where its secret comes from
// (Secret, SecretCommand); Password only while it is kept here. The store
// holds no state of its own and reports no failure.
#pragma once

#include "AppProfile.h"
#include "Settings.h"

#include <string>

// Replaces all options and accounts; non-zero when at least one account was
// read. Never writes the stored file.
int LoadSettings(AppProfile& profile, Options& options, AccountList& accounts);
// Writes everything back and deletes the keys of accounts that no longer
// exist, all in one step of the registry.
void SaveSettings(AppProfile& profile, const Options& options, const AccountList& accounts);

// The size the user last gave the headers window, in pixels (Settings,
// HeadersWidth and HeadersHeight). Optional: false while none is stored.
bool LoadHeadersSize(AppProfile& profile, int& width, int& height);
void SaveHeadersSize(AppProfile& profile, int width, int height);

// Each byte as a signed number XOR 0x5D, in decimal, followed by one space.
std::string EncodePassword(const std::string& password);
// Reads whatever it is given; a last number without its space is ignored.
std::string DecodePassword(const std::string& stored);
