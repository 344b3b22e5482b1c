// The desktop's new-mail event sound. Playing never blocks and never fails
// visibly: without a sound server there is just silence.
#pragma once

struct ca_context;

class NewMailSound {
public:
    NewMailSound() = default;
    ~NewMailSound();

    NewMailSound(const NewMailSound&) = delete;
    NewMailSound& operator=(const NewMailSound&) = delete;

    void Play();

private:
    ca_context* m_context = nullptr;
};
