// Fetching the popup notice's text and picture from the session's publisher server.
#include <gtest/gtest.h>

#include "support/NoticeTestSupport.h"
#include "support/PublisherTestSupport.h"
#include "support/WinTestSupport.h"
#include "web/NoticeFetch.h"

using namespace testsupport;
using noticetest::ServedBytes;

namespace {

bool Fetch(const std::string& path, std::wstring* text) {
    return vorel::FetchNoticeText(PublisherUrl(Widen(path)).c_str(), text);
}

bool Has(const std::string& entry, const std::string& text) {
    return entry.find(text) != std::string::npos;
}

}  // namespace

TEST(NoticeFetch, ReadsTheWholeTextAsAnsiWithTheRequestFormOfEveryFetch) {
    const std::wstring title = noticetest::NonAsciiTitle();
    ASSERT_FALSE(title.empty()) << "no test title fits this system's ANSI code page";
    const std::wstring notice = L"N1|2099-12-31|" + title + L"|http://vorel.test/|text||1";
    const std::string bytes = noticetest::Ansi(notice);
    bool beyondAscii = false;
    for (unsigned char c : bytes) beyondAscii |= c >= 0x80;
    ASSERT_TRUE(beyondAscii) << "the title must need more than ASCII";

    TempFolder dir;
    const std::string path = TestPath("tolvvorel.txt");
    ServedBytes served(dir, path, bytes);
    ASSERT_TRUE(served.ok());
    std::wstring text = L"stale";
    ASSERT_TRUE(Fetch(path, &text));
    EXPECT_EQ(text, notice);

    const auto entries = LogEntriesFor(path);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(Has(entries[0], "\"method\": \"GET\"")) << entries[0];
    EXPECT_TRUE(Has(entries[0], "\"User-Agent\": \"RKW\"")) << entries[0];
    EXPECT_TRUE(Has(entries[0], "\"Content-Type\": \"application/x-www-form-urlencoded\""));
}

TEST(NoticeFetch, NotFoundMissingLengthAndTooLongMeanNoNotice) {
    std::wstring text = L"stale";
    EXPECT_FALSE(Fetch(TestPath("missing.txt"), &text));
    EXPECT_EQ(text, L"");

    const std::string unmeasured = TestPath("unmeasured.txt");
    PublisherFault noLength(unmeasured, "{\"body\": \"a|b|c|d|e|f|1\", \"no_length\": true}");
    EXPECT_FALSE(Fetch(unmeasured, &text));
    EXPECT_EQ(LogEntriesFor(unmeasured).size(), 1u) << "refused after the answer came";

    // 1023 bytes are a notice; 1024 are not.
    const std::string fits = TestPath("fits.txt"), tooLong = TestPath("toolong.txt");
    const std::string head = "N|2099-12-31|t|||";
    PublisherFault fitsFault(
        fits, "{\"body\": " + JsonString(head + std::string(1023 - head.size(), '7')) + "}");
    PublisherFault longFault(
        tooLong, "{\"body\": " + JsonString(head + std::string(1024 - head.size(), '7')) + "}");
    ASSERT_TRUE(Fetch(fits, &text));
    EXPECT_EQ(text.size(), 1023u);
    EXPECT_FALSE(Fetch(tooLong, &text));
    EXPECT_EQ(text, L"");

    // Only 404 is refused by its status: another error page is read like the notice.
    const std::string failing = TestPath("failing.txt");
    PublisherFault serverError(failing, "{\"status\": 500, \"body\": \"a|b|c|d|e|f|2\"}");
    ASSERT_TRUE(Fetch(failing, &text));
    EXPECT_EQ(text, L"a|b|c|d|e|f|2");
}

TEST(NoticeFetch, ACutTransferAndAForeignHostMeanNoNotice) {
    std::wstring text;
    const std::string cut = TestPath("cut.txt");
    PublisherFault cutFault(cut, "{\"body\": \"N|2099-12-31|title|||pic|3\", \"cut_after\": 10}");
    EXPECT_FALSE(Fetch(cut, &text)) << "the count after the sixth bar would be lost";
    EXPECT_EQ(LogEntriesFor(cut).size(), 1u);

    // The notice's host must be a publisher domain; nothing is asked of another one.
    const std::string foreign = TestPath("foreign.txt");
    PublisherFault foreignFault(foreign, "{\"body\": \"a|b|c|d|e|f|1\"}");
    const std::wstring byAddress =
        L"http://127.0.0.1:" + std::to_wstring(PublisherPort()) + Widen(foreign);
    EXPECT_FALSE(vorel::FetchNoticeText(byAddress.c_str(), &text));
    EXPECT_TRUE(LogEntriesFor(foreign).empty());
}

TEST(NoticeFetch, APictureReplacesTheOldOneOnlyWhenItArrivedWhole) {
    TempFolder dir;
    const std::wstring file = dir.File(L"PopWnd.jpg");
    const std::string good = TestPath("good.jpg"), cut = TestPath("cut.jpg");
    PublisherFault goodFault(good, "{\"body\": \"first picture\"}");
    PublisherFault cutFault(cut, "{\"body\": \"second picture\", \"cut_after\": 6}");

    ASSERT_TRUE(vorel::DownloadNoticePicture(PublisherUrl(Widen(good)), file));
    EXPECT_EQ(ReadFileBytes(file), "first picture");
    EXPECT_FALSE(vorel::DownloadNoticePicture(PublisherUrl(Widen(cut)), file));
    EXPECT_FALSE(vorel::DownloadNoticePicture(PublisherUrl(Widen(TestPath("none.jpg"))), file));
    EXPECT_EQ(ReadFileBytes(file), "first picture");
    EXPECT_FALSE(FileExists(file + L".part"));
    EXPECT_EQ(LogEntriesFor(cut).size(), 1u);
}
