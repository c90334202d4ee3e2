#pragma once

#include "publish/serverprofiles.h"
#include "transfercontroller.h"

// What the user must be told or asked after a transfer that the server's identity or its lack of encryption
// stopped; decided without a window, so a test can walk every case.
struct TrustDecision {
    enum class Kind {
        None,
        TrustKey,   // unknown key: may be trusted for the profile (question)
        KeyChanged, // another key than the trusted one: refused (warning)
        ClearText,  // the server offers no encryption: may be accepted for the profile (question)
        TlsDropped, // a server with a trusted key no longer offers TLS: refused (warning)
    };
    Kind kind = Kind::None;
    QString text;
    QString detail;

    static TrustDecision after(const TransferOutcome &outcome, const ServerProfile &profile);
    // A Yes to the question, written into the profile; false when the decision asks nothing.
    bool accept(const TransferOutcome &outcome, ServerProfile *profile) const;
};
