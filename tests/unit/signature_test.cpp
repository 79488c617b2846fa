// The signature check with the powershell.exe stand-in over real signed files.
#include <gtest/gtest.h>

#include "setup/signature.h"
#include "tests/support/fixtures.h"

namespace {

class Signature : public ::testing::Test {
protected:
    std::string copy(const std::string& fixture, const std::string& name) {
        writeFile(folder / name, readFile(signingFixture(fixture)));
        return folder / name;
    }
    TempFolder folder{"signature"};
    EnvGuard trust{"AUTHENTICODE_TRUST_FILE", signingFixture("trust.pem").c_str()};
    EnvGuard path{"PATH", (std::string(QUILLBOX_BINARY_DIR) + ":/usr/bin:/bin").c_str()};
};

TEST_F(Signature, SignedFilesAndTheirSigners) {
    struct Case {
        const char* fixture;
        const char* name;
        int expected;
    } cases[] = {
        {"maker-signed.exe", "setup.exe", 1},
        {"maker-suffix.exe", "setup.exe", 1},
        {"other-signed.exe", "setup.exe", 0},
        {"issuer-named.exe", "setup.exe", 0},          // "CN=tolvane" only in the issuer
        {"untrusted-lookalike.exe", "setup.exe", 0},   // "Status: Valid" in an untrusted subject
        {"unsigned.exe", "setup.exe", 0},
        {"tampered.exe", "setup.exe", 0},
        {"not-a-pe.exe", "setup.exe", 0},
        {"maker-signed.exe", "it's setup.exe", 1},
        {"maker-signed.exe", "it\u2019s \u2018new\u2019 setup.exe", 1},
        {"maker-signed.exe", "a ' | Remove-Item x; '.exe", 1},
        {"unsigned.exe", "it's setup.exe", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(verifySignature(T(copy(c.fixture, c.name)), u"CN=tolvane"), c.expected) << c.fixture << " as " << c.name;
    }
}

TEST_F(Signature, TheCheckedFileIsTheOneNamed) {
    // A quote in the name must not end the path early, nor a bracket make it
    // a wildcard that finds the signed file beside it.
    copy("maker-signed.exe", "setup1.exe");
    EXPECT_EQ(verifySignature(T(copy("unsigned.exe", "setup[1].exe")), u"CN=tolvane"), 0);
    copy("maker-signed.exe", "ab.exe");
    EXPECT_EQ(verifySignature(T(copy("unsigned.exe", "a'b.exe")), u"CN=tolvane"), 0);
    copy("maker-signed.exe", "x y.exe");
    EXPECT_EQ(verifySignature(T(copy("unsigned.exe", "x  y.exe")), u"CN=tolvane"), 0);
    EXPECT_EQ(verifySignature(T(folder / "missing.exe"), u"CN=tolvane"), 0);
}

TEST_F(Signature, NoPowerShellOrABadPatternFailsClosed) {
    const std::string file = copy("maker-signed.exe", "setup.exe");
    EXPECT_EQ(verifySignature(T(file), u"CN=(tolvane"), 0);
    EnvGuard noPowerShell("PATH", "/usr/bin:/bin");
    EXPECT_EQ(verifySignature(T(file), u"CN=tolvane"), 0);
}

TEST(SignatureCommand, QuotesAreDoubledAndThePathIsLiteral) {
    EXPECT_EQ(signatureCommand(u"C:\\T\\it's \u2018a\u2019\u201A\u201B[1].exe"),
              u"Get-AuthenticodeSignature -LiteralPath 'C:\\T\\it''s \u2018\u2018a\u2019\u2019\u201A\u201A\u201B\u201B[1].exe'"
              u" | Format-List -property Status, SignerCertificate");
}

TEST(SignatureReport, StatusFromItsOwnLineSignerFromTheSubject) {
    const Text valid = u"\r\nStatus            : Valid\r\nSignerCertificate : [Subject]\r\n"
                       u"                      CN=tolvane GmbH, O=tolvane GmbH, C=DE\r\n\r\n"
                       u"                    [Issuer]\r\n                      CN=Some CA\r\n\r\n";
    struct Case {
        const char* name;
        Text report;
        int expected;
    } cases[] = {
        {"valid", valid, 1},
        {"split by separators", u"\r\nSta\rtus : Va\rlid\r\nSignerCertificate : [Subject]\r\n   CN=tol\rvane GmbH\r\n", 1},
        {"any letter case", u"status:valid\nSignerCertificate : [Subject]\n  cn=TOLVANE\n", 1},
        {"not valid", u"Status : NotTrusted\nSignerCertificate : [Subject]\n  CN=tolvane\n", 0},
        {"valid only further down", u"Status : NotSigned\nStatus : Valid\nSignerCertificate : [Subject]\n  CN=tolvane\n", 0},
        {"status text inside the subject",
         u"Status : UnknownError\nSignerCertificate : [Subject]\n  CN=x Status : Valid, CN=tolvane\n", 0},
        {"valid followed by more", u"Status : ValidNot\nSignerCertificate : [Subject]\n  CN=tolvane\n", 0},
        {"signer only in the issuer",
         u"Status : Valid\nSignerCertificate : [Subject]\n  CN=Other Ltd\n\n  [Issuer]\n  CN=tolvane Root\n", 0},
        {"no subject", u"Status : Valid\nSignerCertificate : \n", 0},
        {"empty report", u"", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(judgeSignatureReport(c.report, u"CN=tolvane"), c.expected) << c.name;
    }
}

}  // namespace
