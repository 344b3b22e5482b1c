// The SASL mechanism each account last signed in with, so that a server that
// stops offering it does not silently get the password another way. Kept for
// the program's life and in the state file between runs, under a key naming
// the server, the user, the connection security and the sign-in method:
// changing any of them forgets it.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

class SignInMemory {
public:
    // "" when the account has not signed in through SASL.
    std::string Before(const std::string& key) const {
        auto found = m_mechanisms.find(key);
        return found != m_mechanisms.end() ? found->second : std::string();
    }
    void Remember(const std::string& key, const std::string& mechanism) {
        if (!mechanism.empty()) {
            m_mechanisms[key] = mechanism;
        }
    }
    // Forgets the accounts that are gone or changed.
    void KeepOnly(const std::vector<std::string>& keys) {
        std::erase_if(m_mechanisms, [&keys](const auto& entry) {
            return std::find(keys.begin(), keys.end(), entry.first) == keys.end();
        });
    }
    // Takes up what another program remembered of accounts this one has not
    // signed in to through SASL.
    void TakeUp(const SignInMemory& other) {
        m_mechanisms.insert(other.All().begin(), other.All().end());
    }
    // By key, so that the same memory is always written the same way.
    const std::map<std::string, std::string>& All() const { return m_mechanisms; }

private:
    std::map<std::string, std::string> m_mechanisms;
};
