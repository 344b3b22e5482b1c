#include "NewMailSound.h"

#include <canberra.h>

NewMailSound::~NewMailSound() {
    if (m_context != nullptr) {
        ca_context_destroy(m_context);
    }
}

void NewMailSound::Play() {
    if (m_context == nullptr) {
        if (ca_context_create(&m_context) != CA_SUCCESS) {
            m_context = nullptr;
            return;
        }
        ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Tarvo", nullptr);
    }
    ca_context_play(m_context, 0, CA_PROP_EVENT_ID, "message-new-email", CA_PROP_EVENT_DESCRIPTION,
                    "New mail", nullptr);
}
