// RemoveFile and its passes on real files: write sizes, patterns, the bar, verification, cancel
// and pause, and files that cannot be had.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <thread>

#include "app/messages.h"
#include "engine/history_cleaner.h"
#include "engine/recording.h"
#include "engine/run_gate.h"
#include "tests/wine/engine_support.h"

#include <commctrl.h>

namespace {

// Records every write and, at the end of each pass, the file's content.
struct Recorder : ShredProbe {
    struct Pass {
        std::vector<DWORD> writes;
        std::vector<uint8_t> values;
        std::vector<uint8_t> content; // after the pass was closed
    };
    std::vector<Pass> passes{1};
    std::function<void(size_t blocks)> onBlock;
    std::function<void(const std::string&, int)> onPass;
    std::function<void(OverwriteFile&, bool)> onOpen;
    size_t blocks = 0;
    std::string events; // 'w' a write, 'f' a flush, '|' the end of a pass

    void Opened(OverwriteFile& file, bool forWriting) override {
        if (onOpen) onOpen(file, forWriting);
    }
    void Flushed() override { events += 'f'; }

    void BlockWritten(uint8_t value, DWORD bytes) override {
        passes.back().writes.push_back(bytes);
        passes.back().values.push_back(value);
        events += 'w';
        ++blocks;
        if (onBlock) onBlock(blocks);
    }
    void PassWritten(const std::string& path, int pass) override {
        passes.back().content = ReadFileBytes(path);
        passes.emplace_back();
        events += '|';
        if (onPass) onPass(path, pass);
    }
    size_t CompletedPasses() const { return passes.size() - 1; }
};

struct Shredder : ::testing::Test {
    TempFolder folder;
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    Recorder probe;
    void SetUp() override {
        settings.ApplyDefaults();
        settings.shredFiles = 1;
        cleaner.shredProbe = &probe;
    }
    std::string File(const std::string& name, size_t size, uint8_t fill = 'q') {
        const std::string path = folder / name;
        MakeFile(path, size, fill);
        return path;
    }
    // ShredFile with a pattern built as RemoveFile builds it.
    bool Shred(const std::string& path) {
        ShredRandom random(static_cast<int32_t>(GetTickCount()));
        cleaner.passPattern = BuildPassPattern(settings.shredMethods.front(), random);
        return cleaner.ShredFile(path);
    }
    // As RunClearingSteps does while a threaded run executes.
    void BeInThreadedRun() {
        settings.runActive = 1;
        cleaner.threadedRun = 1;
    }
};

// Swaps the shredder's handle for one of the same file with less access, so that the next write
// (or flush, or read) really fails.
void Weaken(OverwriteFile& file, DWORD access) {
    HANDLE weaker = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), file.handle, GetCurrentProcess(), &weaker, access, FALSE, 0));
    CloseHandle(file.handle);
    file.handle = weaker;
}

bool AllBytesAre(const std::vector<uint8_t>& bytes, uint8_t value) {
    for (uint8_t b : bytes)
        if (b != value) return false;
    return true;
}

} // namespace

TEST_F(Shredder, WriteSizesPerPassFollowTheFileLength) {
    struct Case {
        size_t size;
        std::vector<DWORD> writes;
    };
    for (const Case& c : {Case{0, {}}, Case{4096, {4096}}, Case{10000, {4096, 4096, 1808}}}) {
        probe = Recorder();
        const std::string path = File("f" + std::to_string(c.size), c.size);
        cleaner.RemoveFile(path);
        EXPECT_FALSE(PathExists(path)) << c.size;
        ASSERT_EQ(probe.CompletedPasses(), 3u) << c.size;
        for (size_t pass = 0; pass < 3; ++pass) {
            EXPECT_EQ(probe.passes[pass].writes, c.writes) << c.size << " pass " << pass;
            EXPECT_EQ(probe.passes[pass].content.size(), c.size) << "neither truncated nor extended";
        }
    }
}

TEST_F(Shredder, PassesWriteRandomItsComplementAndAnotherRandomButNever255) {
    for (int file = 0; file < 12; ++file) {
        probe = Recorder();
        const std::string path = File("p.bin", 9000);
        cleaner.RemoveFile(path);
        ASSERT_EQ(probe.CompletedPasses(), 3u);
        const uint8_t first = probe.passes[0].values.front();
        EXPECT_NE(first, 255);
        EXPECT_NE(probe.passes[2].values.front(), 255);
        EXPECT_EQ(probe.passes[1].values.front(), 255 - first);
        EXPECT_EQ(cleaner.passPattern,
                  (std::vector<uint8_t>{first, uint8_t(255 - first), probe.passes[2].values[0]}));
        for (size_t pass = 0; pass < 3; ++pass)
            EXPECT_TRUE(AllBytesAre(probe.passes[pass].content, cleaner.passPattern[pass])) << pass;
    }
}

TEST_F(Shredder, EveryPassReachesTheDiskBeforeTheNextOneStarts) {
    const std::string path = File("flushed.bin", 10000);
    cleaner.RemoveFile(path);
    EXPECT_FALSE(PathExists(path));
    EXPECT_EQ(probe.events, "wwwf|wwwf|wwwf|");
}

TEST_F(Shredder, AFailedWriteOrFlushLeavesTheFileInPlace) {
    // The second pass cannot write: the file keeps the first pass's bytes and is not deleted.
    const std::string unwritable = File("unwritable.bin", 3 * 4096, 'u');
    probe.onOpen = [&](OverwriteFile& file, bool) {
        if (probe.CompletedPasses() == 1) Weaken(file, GENERIC_READ);
    };
    cleaner.RemoveFile(unwritable);
    EXPECT_TRUE(PathExists(unwritable));
    EXPECT_TRUE(AllBytesAre(ReadFileBytes(unwritable), cleaner.passPattern[0]));
    EXPECT_EQ(cleaner.WritePass(unwritable, 1), PassFailed);

    // The first pass is written but cannot be flushed.
    probe = Recorder();
    const std::string unflushed = File("unflushed.bin", 2 * 4096, 'n');
    probe.onBlock = [&](size_t blocks) {
        if (blocks == 2) Weaken(cleaner.overwriteFile, GENERIC_READ);
    };
    cleaner.RemoveFile(unflushed);
    EXPECT_TRUE(PathExists(unflushed));
    EXPECT_EQ(probe.CompletedPasses(), 0u);
    EXPECT_EQ(probe.events, "ww");
}

TEST_F(Shredder, AFailedReadBackIsAFailedCheck) {
    settings.shredMethods[0].verifyMode = 1;
    settings.shredMethods[0].deleteMode = 0;
    const std::string path = File("unreadable.bin", 3 * 4096);
    probe.onOpen = [](OverwriteFile& file, bool forWriting) {
        if (!forWriting) Weaken(file, GENERIC_WRITE | FILE_READ_ATTRIBUTES);
    };
    EXPECT_FALSE(Shred(path));
    EXPECT_TRUE(PathExists(path)); // not deleted as if the check had passed
    EXPECT_EQ(cleaner.VerifyPass(path, cleaner.passPattern[2]), VerifyFailed);
}

TEST_F(Shredder, EveryFileGetsAPatternOfItsOwn) {
    // Files shredded one after the other, within the same few milliseconds.
    std::set<std::vector<uint8_t>> patterns;
    for (int i = 0; i < 8; ++i) {
        cleaner.RemoveFile(File("fresh" + std::to_string(i), 10));
        patterns.insert(cleaner.passPattern);
    }
    EXPECT_GE(patterns.size(), 7u);
}

TEST_F(Shredder, BarCountsBlocksOrBytes) {
    TestProgressBar bar;
    ProgressTo progress(cleaner, nullptr, bar.bar()); // every update posted, to be checked
    struct Case {
        size_t size;
        int high;
        int position;
    };
    // 10 000 bytes: range 0..2; 100 bytes: counted in bytes, 0..100; empty: 0..0.
    for (const Case& c : {Case{10000, 2, 2}, Case{100, 100, 100}, Case{0, 0, 0}, Case{4096 * 40, 40, 40}}) {
        const std::string path = File("bar.bin", c.size);
        EXPECT_EQ(cleaner.WritePass(path, 0x5A), 2);
        bar.Pump();
        EXPECT_EQ(bar.RangeLow(), 0) << c.size;
        EXPECT_EQ(bar.RangeHigh(), c.high) << c.size;
        EXPECT_EQ(bar.Position(), c.position) << c.size;
        EXPECT_TRUE(AllBytesAre(ReadFileBytes(path), 0x5A));
        EXPECT_EQ(cleaner.VerifyPass(path, 0x5A), 3);
        bar.Pump();
        EXPECT_EQ(bar.RangeHigh(), c.high) << c.size;
        EXPECT_EQ(bar.Position(), c.position) << c.size;
    }
}

TEST_F(Shredder, RemoveFileAnnouncesTheFileToTheProgressWindow) {
    PostedMessages sink;
    {
        ProgressTo progress(cleaner, sink.window(), nullptr);
        const std::string path = File("shown.txt", 10);
        cleaner.RemoveFile(path);
        const auto posted = sink.Drain(MsgShowCurrentFile, MsgShowCurrentFile);
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0].wParam, 0u);
        EXPECT_EQ(cleaner.CurrentFileText(), path);
        EXPECT_EQ(settings.currentFileText, path);
    } // closed: nothing more is posted
    cleaner.RemoveFile(File("quiet.txt", 10));
    EXPECT_TRUE(sink.Drain(MsgShowCurrentFile, MsgShowCurrentFile).empty());
}

TEST_F(Shredder, UpdatesToTheProgressWindowAreBatched) {
    PostedMessages window, bar;
    ProgressTo progress(cleaner, window.window(), bar.window(), 60000);
    for (int i = 0; i < 5; ++i) cleaner.RemoveFile(File("batched" + std::to_string(i), 40000));
    EXPECT_EQ(probe.CompletedPasses(), 15u);
    // Only the first file's name went out; everything after it waits for the next batch.
    EXPECT_EQ(window.Drain(MsgShowCurrentFile, MsgShowCurrentFile).size(), 1u);
    EXPECT_TRUE(bar.Drain(PBM_SETPOS, PBM_SETRANGE32).empty());
    EXPECT_EQ(cleaner.CurrentFileText(), folder / "batched4");

    progress.poster.SetInterval(0); // the next update carries the latest state
    cleaner.RemoveFile(File("last", 10000));
    const auto updates = bar.Drain(PBM_SETPOS, PBM_SETRANGE32);
    ASSERT_GE(updates.size(), 2u);
    EXPECT_EQ(updates[0].message, UINT{PBM_SETRANGE32});
    EXPECT_EQ(window.Drain(MsgShowCurrentFile, MsgShowCurrentFile).size(), 1u);
}

TEST_F(Shredder, ShreddingOffOnlyDeletes) {
    settings.shredFiles = 0;
    const std::string path = File("plain.txt", 9000);
    cleaner.RemoveFile(path);
    EXPECT_FALSE(PathExists(path));
    EXPECT_EQ(probe.blocks, 0u);
    settings.shredFiles = 1;
    settings.shredMethods.clear(); // no method: deleted as well
    const std::string again = File("plain2.txt", 9000);
    cleaner.RemoveFile(again);
    EXPECT_FALSE(PathExists(again));
    EXPECT_EQ(probe.blocks, 0u);
}

TEST_F(Shredder, FilesAndFoldersInADrivesRootAreTheirFoldersOwn) {
    // "C:" alone names the current folder of drive C, not its root: an entry of the root checked
    // against that folder looked like a link and was left.
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.path().c_str()));
    const std::string file = "C:\\zlt-in-the-root.tmp";
    ASSERT_TRUE(MakeFile(file, 5000));
    cleaner.RemoveFile(file);
    EXPECT_FALSE(PathExists(file));
    EXPECT_EQ(probe.blocks, 6u); // three passes of two blocks
    const std::string own = MakeFolder("C:\\zlt-root-folder");
    ASSERT_TRUE(MakeFile(own + "\\inside.tmp", 100));
    cleaner.EmptyFolder(own, false);
    EXPECT_FALSE(PathExists(own + "\\inside.tmp"));
    SetCurrentDirectoryA(before);
    RemoveTree(own);
}

TEST_F(Shredder, NamesBeyondAsciiAreTheirFoldersOwn) {
    // The final path comes from the system in UTF-16 and is compared in the ANSI code page: a
    // name the code page spells otherwise would look like a link to elsewhere and be left.
    char name[] = "caf\xe9 r\xe9sum\xe9.txt";
    WCHAR wide[64] = {};
    ASSERT_GT(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, wide, 64), 0);
    ASSERT_GT(wide[3], 127) << "no letter beyond ASCII in this code page";
    const std::string sub = MakeFolder(folder / "d\xe9j\xe0");
    for (const uint8_t shred : {1, 0}) {
        settings.shredFiles = shred;
        const std::string alone = File(name, 9000), inside = sub + "\\" + name;
        ASSERT_TRUE(MakeFile(inside, 5000));
        probe = Recorder();
        const auto record = RecordedClearing(cleaner, "page", false, "", [&] {
            cleaner.RemoveFile(alone);
            cleaner.EmptyFolder(sub, true);
        });
        EXPECT_FALSE(PathExists(alone)) << int(shred);
        EXPECT_FALSE(PathExists(inside)) << int(shred);
        EXPECT_EQ(probe.CompletedPasses(), shred ? 6u : 0u);
        ASSERT_EQ(record->items.size(), 2u) << int(shred);
        for (const RecordItem& item : record->items) EXPECT_EQ(item.action, ItemAction::Removed) << item.path;
    }
}

TEST_F(Shredder, ReadOnlyFileIsShreddedAndDeleted) {
    const std::string path = File("ro.txt", 5000);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    cleaner.RemoveFile(path);
    EXPECT_FALSE(PathExists(path));
    EXPECT_EQ(probe.CompletedPasses(), 3u);
}

TEST_F(Shredder, FileHeldOpenStaysUntouched) {
    const std::string path = File("held.txt", 9000, 'h');
    {
        HeldFile hold(path, 0);
        ASSERT_TRUE(hold.held());
        cleaner.RemoveFile(path);
        settings.shredFiles = 0;
        cleaner.RemoveFile(path);
    }
    EXPECT_TRUE(PathExists(path));
    EXPECT_EQ(probe.blocks, 0u);
    EXPECT_TRUE(AllBytesAre(ReadFileBytes(path), 'h'));
    EXPECT_EQ(cleaner.WritePass(folder / "missing.bin", 1), 0);
    EXPECT_EQ(cleaner.VerifyPass(folder / "missing.bin", 1), 0);
    cleaner.RemoveFile(folder / "missing.bin"); // vanished before the passes: nothing happens
    EXPECT_EQ(probe.blocks, 0u);
}

TEST_F(Shredder, VerifyOnceAndDeleteOnlyIfItMatched) {
    settings.shredMethods[0].verifyMode = 1;
    settings.shredMethods[0].deleteMode = 1;
    // Someone writes into the file between the last pass and the check: it stays, overwritten.
    probe.onPass = [](const std::string& path, int pass) {
        if (pass == 3) WriteFileBytes(path, std::vector<uint8_t>(10000, 255));
    };
    const std::string changed = File("changed.bin", 10000);
    EXPECT_FALSE(Shred(changed));
    EXPECT_TRUE(PathExists(changed));
    EXPECT_EQ(probe.CompletedPasses(), 3u);

    probe = Recorder();
    const std::string intact = File("intact.bin", 10000);
    EXPECT_TRUE(Shred(intact));
    EXPECT_FALSE(PathExists(intact));

    // Delete mode 0 deletes whatever the check found.
    settings.shredMethods[0].deleteMode = 0;
    probe.onPass = [](const std::string& path, int pass) {
        if (pass == 3) WriteFileBytes(path, std::vector<uint8_t>(10000, 255));
    };
    const std::string anyway = File("anyway.bin", 10000);
    EXPECT_TRUE(Shred(anyway));
    EXPECT_FALSE(PathExists(anyway));
}

TEST_F(Shredder, VerifyAfterEveryPassCatchesAChangeInTheMiddle) {
    settings.shredMethods[0].verifyMode = 2;
    settings.shredMethods[0].deleteMode = 1;
    probe.onPass = [](const std::string& path, int pass) {
        if (pass == 1) WriteFileBytes(path, std::vector<uint8_t>(5000, 255));
    };
    const std::string path = File("middle.bin", 5000);
    EXPECT_FALSE(Shred(path));
    EXPECT_TRUE(PathExists(path));
    EXPECT_EQ(probe.CompletedPasses(), 3u); // the failed check does not stop the passes
    EXPECT_TRUE(AllBytesAre(ReadFileBytes(path), cleaner.passPattern[2]));
}

TEST_F(Shredder, VerifyPassResults) {
    const std::string path = File("v.bin", 9000, 7);
    EXPECT_EQ(cleaner.VerifyPass(path, 7), 3);
    EXPECT_EQ(cleaner.VerifyPass(path, 8), 2);
    auto bytes = ReadFileBytes(path);
    bytes[8999] = 9; // last byte of the short final block
    WriteFileBytes(path, bytes);
    EXPECT_EQ(cleaner.VerifyPass(path, 7), 2);
    BeInThreadedRun();
    settings.stopRequested = 1;
    EXPECT_EQ(cleaner.VerifyPass(path, 7), 1);
}

TEST_F(Shredder, CancelInTheSecondPassStopsAfterTheBlockAndLaterFilesAreOnlyDeleted) {
    BeInThreadedRun();
    const size_t blocks = 64; // a 256 KiB file: 63 full writes and a last one per pass
    const std::string big = File("big.bin", blocks * 4096, 'b');
    const std::string later = File("later.bin", 9000, 'l');
    probe.onBlock = [&](size_t written) {
        if (written == blocks + 5) settings.stopRequested = 1; // the fifth block of pass two
    };
    cleaner.RemoveFile(big);
    EXPECT_TRUE(PathExists(big));
    const auto content = ReadFileBytes(big);
    ASSERT_EQ(content.size(), blocks * 4096);
    const uint8_t first = cleaner.passPattern[0], second = cleaner.passPattern[1];
    EXPECT_TRUE(AllBytesAre({content.begin(), content.begin() + 5 * 4096}, second));
    EXPECT_TRUE(AllBytesAre({content.begin() + 5 * 4096, content.end()}, first));
    EXPECT_EQ(probe.blocks, blocks + 5);

    cleaner.RemoveFile(later);
    EXPECT_FALSE(PathExists(later));
    EXPECT_EQ(probe.blocks, blocks + 5); // deleted without a single write
}

TEST_F(Shredder, ACancelLeftOverFromAFinishedRunDoesNotStopLaterClears) {
    // The run's end leaves stopRequested set; a page's clear afterwards still shreds.
    settings.stopRequested = 1;
    settings.runActive = 0;
    const std::string afterRun = File("after.bin", 9000);
    cleaner.RemoveFile(afterRun);
    EXPECT_FALSE(PathExists(afterRun));
    EXPECT_EQ(probe.CompletedPasses(), 3u);

    // Nor does it while a clear on the UI thread holds runActive without being the threaded run.
    probe = Recorder();
    settings.runActive = 1;
    cleaner.threadedRun = 0;
    const std::string uiClear = File("ui.bin", 9000);
    cleaner.RemoveFile(uiClear);
    EXPECT_FALSE(PathExists(uiClear));
    EXPECT_EQ(probe.CompletedPasses(), 3u);
}

TEST_F(Shredder, PausedGateHoldsThePassAtABlock) {
    const std::string path = File("paused.bin", 16 * 4096, 'p');
    Gate().Pause();
    std::atomic<int> result{-1};
    std::thread worker([&] { result = cleaner.WritePass(path, 0x11); });
    while (Gate().Waiting() == 0 && result == -1) Sleep(1);
    EXPECT_EQ(result.load(), -1);
    EXPECT_EQ(probe.blocks, 1u); // waiting after its first block
    Gate().Resume();
    worker.join();
    EXPECT_EQ(result.load(), 2);
    EXPECT_EQ(probe.blocks, 16u);
    EXPECT_TRUE(AllBytesAre(ReadFileBytes(path), 0x11));

    // A file smaller than a block waits before its only write.
    const std::string tiny = File("tiny.bin", 100, 't');
    Gate().Pause();
    result = -1;
    std::thread small([&] { result = cleaner.WritePass(tiny, 0x22); });
    while (Gate().Waiting() == 0 && result == -1) Sleep(1);
    EXPECT_EQ(result.load(), -1);
    EXPECT_EQ(probe.blocks, 16u);
    Gate().Resume();
    small.join();
    EXPECT_EQ(result.load(), 2);
    EXPECT_TRUE(AllBytesAre(ReadFileBytes(tiny), 0x22));
}
