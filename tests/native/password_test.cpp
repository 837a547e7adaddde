// The password digest: SHA-256 of the text's bytes as 64 upper-case hexadecimal digits.
#include <gtest/gtest.h>

#include "app/settings.h"

namespace {

std::string DigestOf(const std::string& text) {
    ProgramSettings s;
    s.SetPassword(text);
    return s.password;
}

} // namespace

TEST(Password, DigestIsUpperCaseSha256OfTheBytes) {
    EXPECT_EQ(DigestOf("abc"), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    EXPECT_EQ(DigestOf(""), "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
    EXPECT_EQ(DigestOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1");
    EXPECT_EQ(DigestOf(std::string(1000000, 'a')), "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0");
}

TEST(Password, PaddingAtTheBlockEdges) {
    // Lengths where the tail, its marker and the bit count just fit in one block or need a second.
    EXPECT_EQ(DigestOf(std::string(55, 'a')), "9F4390F8D30C2DD92EC9F095B65E2B9AE9B0A925A5258E241C9F1E910F734318");
    EXPECT_EQ(DigestOf(std::string(56, 'a')), "B35439A4AC6F0948B6D6F9E3C6AF0F5F590CE20F1BDE7090EF7970686EC6738A");
    EXPECT_EQ(DigestOf(std::string(63, 'a')), "7D3E74A05D7DB15BCE4AD9EC0658EA98E3F06EEECF16B4C6FFF2DA457DDC2F34");
    EXPECT_EQ(DigestOf(std::string(64, 'a')), "FFE054FE7AE0CB6DC65C3AF9B61D5209F439851DB43D0BA5997337DF154668EB");
    EXPECT_EQ(DigestOf(std::string(119, 'a')), "31EBA51C313A5C08226ADF18D4A359CFDFD8D2E816B13F4AF952F7EA6584DCFB");
}

TEST(Password, CheckAcceptsOnlyTheSameText) {
    ProgramSettings s;
    s.SetPassword("Open Sesame");
    EXPECT_TRUE(s.CheckPassword("Open Sesame"));
    EXPECT_FALSE(s.CheckPassword("open sesame"));
    EXPECT_FALSE(s.CheckPassword("Open Sesame "));
    EXPECT_FALSE(s.CheckPassword(""));
    s.password = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"; // lower-case digest
    EXPECT_FALSE(s.CheckPassword("abc"));
}

TEST(Password, ProtectionNeedsAStoredDigest) {
    // A file that says "protected" but holds no digest must not lock the user out.
    ProgramSettings s;
    s.passwordEnabled = 1;
    EXPECT_FALSE(s.PasswordProtected());
    s.SetPassword("x");
    EXPECT_TRUE(s.PasswordProtected());
    s.passwordEnabled = 0;
    EXPECT_FALSE(s.PasswordProtected());
}
