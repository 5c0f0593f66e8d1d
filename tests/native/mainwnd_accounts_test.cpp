#include <gtest/gtest.h>

#include <set>

#include "mainwnd/TabAccounts.h"

using namespace vorel;

namespace {
const std::wstring kAlice = L"1服-龙城-alice";
const std::wstring kBob = L"1服-龙城-bob";
const std::wstring kCarol = L"2服-凤鸣-carol";

std::vector<std::wstring> Captions(const TabAccounts& a) {
    std::vector<std::wstring> out;
    for (int i = 0; i < a.Count(); ++i) out.push_back(a.At(i).caption);
    return out;
}
}  // namespace

TEST(TabAccounts, CaptionsAreUniqueByExactComparison) {
    TabAccounts a;
    EXPECT_TRUE(a.AnnounceCaption(kAlice, 10));
    // Still waiting for its frame: a second login of the same account is refused already.
    EXPECT_FALSE(a.AnnounceCaption(kAlice, 11));
    EXPECT_EQ(a.AddFrame(100, 10), 0);
    EXPECT_FALSE(a.AnnounceCaption(kAlice, 12));
    // Case and the server part count.
    EXPECT_TRUE(a.AnnounceCaption(L"1服-龙城-Alice", 13));
    EXPECT_TRUE(a.AnnounceCaption(L"2服-龙城-alice", 14));
    EXPECT_EQ(a.Waiting().size(), 2u);
    EXPECT_EQ(a.Count(), 1);
}

TEST(TabAccounts, EachArrivingFrameBecomesTheCurrentTabWithItsCaption) {
    TabAccounts a;
    EXPECT_EQ(a.Current(), 0);
    EXPECT_EQ(a.CurrentWindow(), 0u);
    a.AnnounceCaption(kAlice, 10);
    EXPECT_EQ(a.AddFrame(100, 10), 0);
    a.AnnounceCaption(kBob, 11);
    EXPECT_EQ(a.AddFrame(200, 11), 1);
    EXPECT_EQ(a.Current(), 1);
    EXPECT_EQ(a.CurrentWindow(), 200u);
    EXPECT_EQ(Captions(a), (std::vector<std::wstring>{kAlice, kBob}));
    EXPECT_TRUE(a.Waiting().empty());
    // The same window announced twice is one tab.
    EXPECT_EQ(a.AddFrame(200, 11), -1);
    EXPECT_EQ(a.AddFrame(0, 11), -1);
    EXPECT_EQ(a.Count(), 2);
}

TEST(TabAccounts, OverlappingLoginsPairFramesWithTheirOwnCaptions) {
    TabAccounts a;
    // Two logins open at once: while both were at their page, the second process was the
    // pending one, so both captions carry its id.
    a.AnnounceCaption(kAlice, 20);
    a.AnnounceCaption(kBob, 20);
    // Bob's frame (process 20) comes first: it takes the newest caption tagged 20.
    a.AddFrame(200, 20);
    // Alice's frame (process 19) finds no tag of its own and takes the oldest.
    a.AddFrame(100, 19);
    EXPECT_EQ(Captions(a), (std::vector<std::wstring>{kBob, kAlice}));

    TabAccounts b;
    b.AnnounceCaption(kAlice, 20);
    b.AnnounceCaption(kBob, 20);
    b.AddFrame(100, 19);
    b.AddFrame(200, 20);
    EXPECT_EQ(Captions(b), (std::vector<std::wstring>{kAlice, kBob}));
}

TEST(TabAccounts, AFrameWithoutCaptionGetsAnEmptyOneAndTheListsStayAligned) {
    TabAccounts a;
    EXPECT_EQ(a.AddFrame(100, 0), 0);
    EXPECT_EQ(a.At(0).caption, L"");
    a.AnnounceCaption(kBob, 11);
    a.AddFrame(200, 11);
    EXPECT_EQ(Captions(a), (std::vector<std::wstring>{L"", kBob}));
    EXPECT_EQ(a.At(1).window, 200u);
}

TEST(TabAccounts, ACaptionWhoseProcessDiedNeitherBlocksNorLandsOnAnotherFrame) {
    TabAccounts a;
    a.AnnounceCaption(kAlice, 30);  // process 30 dies before its frame
    std::set<ProcessId> ended = {30};
    a.DropWaiting([&](ProcessId p) { return ended.count(p) > 0; });
    EXPECT_TRUE(a.Waiting().empty());
    EXPECT_TRUE(a.AnnounceCaption(kAlice, 31));  // the same account logs in again
    a.AnnounceCaption(kBob, 32);
    ended = {};
    a.DropWaiting([&](ProcessId p) { return ended.count(p) > 0; });
    EXPECT_EQ(a.Waiting().size(), 2u);
    a.AddFrame(320, 32);
    a.AddFrame(310, 31);
    EXPECT_EQ(Captions(a), (std::vector<std::wstring>{kBob, kAlice}));
    // Captions of unknown origin are kept: nobody can tell that their process is gone.
    a.AnnounceCaption(kCarol, 0);
    a.DropWaiting([](ProcessId) { return true; });
    EXPECT_EQ(a.Waiting().size(), 1u);
}

TEST(TabAccounts, RemovingATabSelectsTheOneThatMovedIntoItsPlace) {
    TabAccounts a;
    a.AddFrame(100, 0);
    a.AddFrame(200, 0);
    a.AddFrame(300, 0);
    ASSERT_EQ(a.Current(), 2);
    // The middle one: the right one moves left and is current.
    EXPECT_EQ(a.Remove(1), 200u);
    EXPECT_EQ(a.Current(), 1);
    EXPECT_EQ(a.CurrentWindow(), 300u);
    // The rightmost: the new last one is current.
    EXPECT_EQ(a.Remove(1), 300u);
    EXPECT_EQ(a.Current(), 0);
    EXPECT_EQ(a.CurrentWindow(), 100u);
    EXPECT_EQ(a.Remove(5), 0u);
    EXPECT_EQ(a.Remove(-1), 0u);
    EXPECT_EQ(a.Remove(0), 100u);
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(a.Current(), 0);
}

TEST(TabAccounts, SelectingAndSwitchingStayInsideTheList) {
    TabAccounts a;
    a.Advance();
    EXPECT_EQ(a.Current(), 0);
    a.AddFrame(100, 0);
    a.Advance();  // one tab: stays
    EXPECT_EQ(a.Current(), 0);
    a.AddFrame(200, 0);
    a.AddFrame(300, 0);
    EXPECT_FALSE(a.Select(2));  // already current
    EXPECT_FALSE(a.Select(3));
    EXPECT_FALSE(a.Select(-1));
    EXPECT_TRUE(a.Select(0));
    a.Advance();
    a.Advance();
    EXPECT_EQ(a.Current(), 2);
    a.Advance();
    EXPECT_EQ(a.Current(), 0);
    EXPECT_EQ(a.IndexOf(300), 2);
    EXPECT_EQ(a.IndexOf(400), -1);
}
