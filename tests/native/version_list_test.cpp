// The version check's request and its reading of the vendor's version list.
#include <gtest/gtest.h>

#include <string>

#include "update/version_list.h"

namespace {

const char kHeader[] = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";
const char kVisit[] = "Please visit http://www.quorvex.com/ to download the latest version\r\n";
const char kRecommend[] =
    "We recommend you to visit http://www.quorvex.com/, to download and install the latest version\r\n";

ResponseBuffer Response(const std::string& text) {
    ResponseBuffer buffer;
    EXPECT_TRUE(buffer.Append(text.data(), text.size()));
    return buffer;
}

// The status text after a check whose status so far was `before`.
std::string Outcome(const std::string& response, const std::string& before = "Connected\r\n") {
    std::string status = before;
    ApplyVersionResponse(status, Response(response), "Zephyrlanthorpe");
    return status;
}

} // namespace

TEST(VersionRequest, ExactTextForTheVendorsHost) {
    EXPECT_EQ(VersionRequestText("Zephyrlanthorpe"),
              "GET http://www.quorvex.com/www/download/zephyrlanthorpe/Version.Txt HTTP/1.0\r\n"
              "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"
              "User-Agent: Mozilla/4.0\r\n"
              "Host: www.quorvex.com\r\n"
              "Pragma: no-cache\r\n\r\n");
}

TEST(VersionOutcome, NewerVersionWithALineForThisOneSaysNothingMore) {
    EXPECT_EQ(Outcome(std::string(kHeader) + "Zephyrlanthorpe versions\n\n7.6;7.5;new engine\n7.4;7.0;old\n"),
              "Zephyrlanthorpe versions\r\n\r\n\r\nThe latest version of Zephyrlanthorpe is 7.6\r\n");
}

TEST(VersionOutcome, NewerVersionWithoutALineForThisOneRecommendsTheSite) {
    EXPECT_EQ(
        Outcome(std::string(kHeader) + "Zephyrlanthorpe versions\n\n7.6;7.0;x\n7.4;7.0;old\n"),
        std::string("Zephyrlanthorpe versions\r\n\r\n\r\nThe latest version of Zephyrlanthorpe is 7.6\r\n"
                    "You have Zephyrlanthorpe 7.5\r\n") +
            kRecommend + "\r\n");
}

TEST(VersionOutcome, NothingNewerThanThisVersion) {
    // 7.5 itself and anything below it; an empty title adds no title lines.
    EXPECT_EQ(Outcome(std::string(kHeader) + "\n\n7.5;7.0\n7.4;7.0\n"),
              "The latest version of Zephyrlanthorpe is 7.5\r\nYou have the latest version\r\n");
    EXPECT_EQ(Outcome(std::string(kHeader) + "T\n\n6.9;6.0\n"),
              "T\r\n\r\n\r\nThe latest version of Zephyrlanthorpe is 6.9\r\nYou have the latest version\r\n");
    // Minor versions compare as numbers: 7.10 is newer than 7.9 and than 7.5.
    EXPECT_EQ(Outcome(std::string(kHeader) + "T\n\n7.9;7.5\n7.10;7.5\n"),
              "T\r\n\r\n\r\nThe latest version of Zephyrlanthorpe is 7.10\r\n");
    // A newer major version wins whatever its minor.
    EXPECT_EQ(Outcome(std::string(kHeader) + "T\n\n7.9;7.5\n8.0;7.5\n"),
              "T\r\n\r\n\r\nThe latest version of Zephyrlanthorpe is 8.0\r\n");
}

TEST(VersionOutcome, EqualHighestVersionsKeepTheFirst) {
    VersionList list;
    ASSERT_EQ(ParseVersionResponse(
                  std::string(kHeader) + "T\n\n8.1;7.0;first\n8.1;7.5;second\n8.0;7.5;third\n", list),
              VersionResponse::Ok);
    ASSERT_EQ(list.records.size(), 3u);
    EXPECT_EQ(LatestRecord(list.records), 0u);
    EXPECT_EQ(list.records[LatestRecord(list.records)].note, "first");
    ASSERT_EQ(ParseVersionResponse(std::string(kHeader) + "T\n\n7.0;7.0;a\n8.1;7.0;b\n8.1;7.5;c\n", list),
              VersionResponse::Ok);
    EXPECT_EQ(list.records[LatestRecord(list.records)].note, "b");
}

TEST(VersionOutcome, AnswersThatAreNotAVersionListAppendToTheStatus) {
    // No end of header, including an empty answer and a header cut short.
    const std::string failed = std::string("Connected\r\nFailed\r\n") + kVisit;
    EXPECT_EQ(Outcome(""), failed);
    EXPECT_EQ(Outcome("HTTP/1.0 200 OK\r\n"), failed);
    EXPECT_EQ(Outcome("T\n\n7.6;7.5\n"), failed);
    // Only the file itself counts: a proxy's error page that happens to look like a list, or an
    // answer without a status line, says nothing about versions.
    EXPECT_EQ(Outcome("HTTP/1.1 407 Proxy Authentication Required\r\n\r\nLogin\n\n7.4;7.0\n"), failed);
    EXPECT_EQ(Outcome("HTTP/1.0 404 Not Found 200\r\n\r\nT\n\n7.4;7.0\n"), failed);
    EXPECT_EQ(Outcome("HTTP/1.1 2000 X\r\n\r\nT\n\n7.4;7.0\n"), failed);
    EXPECT_EQ(Outcome("Server: x\r\n\r\nT\n\n7.4;7.0\n"), failed);
    EXPECT_EQ(Outcome("HTTP/1.1 200\r\n\r\nT\n\n7.4;7.0\n"),
              "T\r\n\r\n\r\nThe latest version of Zephyrlanthorpe is 7.4\r\nYou have the latest version\r\n");
    // A header but no empty line after the title; a body written with CR LF has none either.
    const std::string noList = std::string("Connected\r\nGetting information failed.\r\n") + kRecommend;
    EXPECT_EQ(Outcome(std::string(kHeader) + "T\n7.6;7.5\n"), noList);
    EXPECT_EQ(Outcome(std::string(kHeader) + "T\r\n\r\n7.6;7.5\r\n"), noList);
    // A title and lines, but none with both an offered and a base version.
    EXPECT_EQ(Outcome(std::string(kHeader) + "T\n\n7.6\n;;;\n7.6;\n"), noList);
    EXPECT_EQ(Outcome(std::string(kHeader) + "T\n\n"), noList);
}

TEST(VersionList, RunsOfSeparatorsBlankTitleAndLastLineWithoutLineFeed) {
    VersionList list;
    ASSERT_EQ(ParseVersionResponse(std::string(kHeader) + " \t Title here \r\n\n\n\n;;7.6;;;7.5;;the note;x\n"
                                                          "7.4;\n8;9.1",
                                   list),
              VersionResponse::Ok);
    EXPECT_EQ(list.title, "Title here");
    ASSERT_EQ(list.records.size(), 2u);
    const VersionRecord& a = list.records[0];
    EXPECT_EQ(a.offeredMajor, 7);
    EXPECT_EQ(a.offeredMinor, 6);
    EXPECT_EQ(a.baseMajor, 7);
    EXPECT_EQ(a.baseMinor, 5);
    EXPECT_EQ(a.note, "the note");
    // A version without a minor reads as minor 0; a missing note is empty.
    const VersionRecord& b = list.records[1];
    EXPECT_EQ(b.offeredMajor, 8);
    EXPECT_EQ(b.offeredMinor, 0);
    EXPECT_EQ(b.baseMajor, 9);
    EXPECT_EQ(b.baseMinor, 1);
    EXPECT_EQ(b.note, "");
}

TEST(VersionList, NumbersReadAsAtoiInSixteenBits) {
    EXPECT_EQ(ReadVersionNumber("12"), 12);
    EXPECT_EQ(ReadVersionNumber("  \t+7x"), 7);
    EXPECT_EQ(ReadVersionNumber("x7"), 0);
    EXPECT_EQ(ReadVersionNumber(""), 0);
    EXPECT_EQ(ReadVersionNumber("- 3"), 0);
    EXPECT_EQ(ReadVersionNumber("-1"), 65535);
    EXPECT_EQ(ReadVersionNumber("65536"), 0);
    EXPECT_EQ(ReadVersionNumber("70000"), 4464);
    EXPECT_EQ(ReadVersionNumber(std::string(5000, '9')), 65535); // 10^5000 - 1 modulo 2^16
    VersionList list;
    ASSERT_EQ(ParseVersionResponse(std::string(kHeader) + "T\n\n v7 .b5; 7.05 ;n\n", list),
              VersionResponse::Ok);
    EXPECT_EQ(list.records[0].offeredMajor, 0);
    EXPECT_EQ(list.records[0].offeredMinor, 0); // "b5" reads as 0
    EXPECT_EQ(list.records[0].baseMajor, 7);
    EXPECT_EQ(list.records[0].baseMinor, 5);
}

TEST(ResponseLimit, AMebibyteIsKeptAndOneByteMoreFailsTheCheck) {
    const std::string chunk(8192, 'a');
    ResponseBuffer buffer;
    for (size_t n = 0; n < kMaxVersionResponse / chunk.size(); ++n)
        ASSERT_TRUE(buffer.Append(chunk.data(), chunk.size()));
    EXPECT_EQ(buffer.text().size(), kMaxVersionResponse);
    EXPECT_FALSE(buffer.overflowed());
    EXPECT_FALSE(buffer.Append("b", 1));
    EXPECT_TRUE(buffer.overflowed());
    EXPECT_EQ(buffer.text().size(), kMaxVersionResponse);
    EXPECT_FALSE(buffer.Append("", 0)); // once over, always over

    // A valid version list that arrives with too much after it is still a failed check.
    ResponseBuffer list;
    const std::string good = std::string(kHeader) + "T\n\n7.6;7.0\n";
    ASSERT_TRUE(list.Append(good.data(), good.size()));
    const std::string rest(kMaxVersionResponse, '\n');
    EXPECT_FALSE(list.Append(rest.data(), rest.size()));
    std::string status = "Getting information\r\n";
    ApplyVersionResponse(status, list, "Zephyrlanthorpe");
    EXPECT_EQ(status, std::string("Getting information\r\nFailed\r\n") + kVisit);
}
