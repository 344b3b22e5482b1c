// One field of every account, in the accounts' order, for tests that compare
// what a list of accounts holds one field at a time.
#pragma once

#include "Account.h"

#include <vector>

template <typename Field>
std::vector<Field> Column(const AccountList& accounts, Field Account::*field) {
    std::vector<Field> column;
    for (const Account& account : accounts) {
        column.push_back(account.*field);
    }
    return column;
}
