#include "SaslPeer.h"

#include <gsasl.h>
#include <memory>
#include <stdexcept>

namespace testpeer {

namespace {

std::string FromBase64(const std::string& text) {
    char* bytes = nullptr;
    std::size_t length = 0;
    if (gsasl_base64_from(text.data(), text.size(), &bytes, &length) != GSASL_OK) {
        return "(not base64)";
    }
    std::string decoded(bytes, length);
    gsasl_free(bytes);
    return decoded;
}

class ServerSide {
public:
    ServerSide(const std::string& mechanism, const std::string& password) {
        if (gsasl_init(&m_context) != GSASL_OK ||
            gsasl_server_start(m_context, mechanism.c_str(), &m_session) != GSASL_OK) {
            throw std::runtime_error("SaslPeer: GNU SASL cannot serve " + mechanism);
        }
        gsasl_property_set(m_session, GSASL_PASSWORD, password.c_str());
    }
    ~ServerSide() {
        gsasl_finish(m_session);
        gsasl_done(m_context);
    }
    ServerSide(const ServerSide&) = delete;
    ServerSide& operator=(const ServerSide&) = delete;

    // The server's next message, before base64; empty when the client's
    // message does not verify.
    std::string Step(const std::string& base64) {
        std::string input = FromBase64(base64);
        char* output = nullptr;
        std::size_t length = 0;
        int status = gsasl_step(m_session, input.data(), input.size(), &output, &length);
        std::string message(output != nullptr ? output : "", output != nullptr ? length : 0);
        gsasl_free(output);
        return status == GSASL_OK || status == GSASL_NEEDS_MORE ? message : std::string();
    }

private:
    Gsasl* m_context = nullptr;
    Gsasl_session* m_session = nullptr;
};

} // namespace

std::string Base64(const std::string& bytes) {
    char* text = nullptr;
    std::size_t length = 0;
    gsasl_base64_to(bytes.data(), bytes.size(), &text, &length);
    std::string encoded(text, length);
    gsasl_free(text);
    return encoded;
}

Step ScramServerFirst(const std::string& iterations) {
    return ReplyWith([iterations](const std::string& line) {
        const std::string first = FromBase64(line.substr(line.rfind(' ') + 1));
        const std::string nonce = first.substr(first.find(",r=") + 3);
        return "+ " +
               Base64("r=" + nonce + "3rfcNHYJY1ZVvWVs7j,s=QSXCR+Q6sek8bf92,i=" + iterations) +
               "\r\n";
    });
}

Script ScramExchange(const std::string& mechanism, const std::string& password, ScramServer server,
                     const SaslEnd& end) {
    auto side = std::make_shared<ServerSide>(mechanism, password);
    const bool forged = server == ScramServer::ForgedSignature;
    return {ReplyWith([side](const std::string& line) {
                return "+ " + Base64(side->Step(line.substr(line.rfind(' ') + 1))) + "\r\n";
            }),
            ReplyWith([side, forged, end](const std::string& line) {
                std::string final = side->Step(line);
                if (final.empty()) {
                    return end.refused;
                }
                // A signature of the right length that is not the server's.
                return "+ " + Base64(forged ? "v=" + Base64(std::string(32, 'x')) : final) + "\r\n";
            }),
            Reply(forged ? end.cancelled : end.success)};
}

} // namespace testpeer
