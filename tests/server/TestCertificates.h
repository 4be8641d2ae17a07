// Certificates for the HTTPS test server, made with openssl when a test starts: a test authority
// and a server certificate it signed for the update host, localhost and 127.0.0.1; a server
// certificate the same authority made out to another name; and one from an authority nobody
// trusts.
#pragma once

#include <QString>

struct TestCertificates {
    QString authority;   // the test authority's certificate (PEM), for the program to trust
    QString serverChain; // the server's certificate followed by the authority's
    QString serverKey;
    QString otherNameChain; // signed by the test authority for "elsewhere.example" only
    QString otherNameKey;
    QString strangerChain; // signed by an authority that is not trusted
    QString strangerKey;

    // Makes them all in the folder; stops the test run when openssl fails.
    static TestCertificates make(const QString& folder);
    // One set for the whole test run, made at first use in a temporary folder.
    static const TestCertificates& forThisRun();
};
