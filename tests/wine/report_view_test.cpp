// The reports a user sees: the What to Clear page's Preview (which changes nothing and shows what a
// clearing would remove and leave), its Last report, and the report offered after a clearing; each
// view read from a thread of its own while the page's modal loop runs, then closed.
#include <shlobj.h>

#include "app/messages.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/main_window_fixture.h"
#include "ui/report_view.h"

namespace {

// What a report view showed.
struct ViewContents {
    bool seen = false;
    std::string summary;
    std::vector<std::vector<std::string>> items, groups; // the lines, each cell
    int itemCount = 0;
    std::string lastItem; // the first cell of the last line
};

std::string Cell(HWND list, int row, int column) {
    char text[1024] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// The first `most` lines of a list, every cell.
std::vector<std::vector<std::string>> Lines(HWND list, int most) {
    std::vector<std::vector<std::string>> lines;
    const int columns = static_cast<int>(SendMessageA(ListView_GetHeader(list), HDM_GETITEMCOUNT, 0, 0));
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count && row < most; ++row) {
        lines.emplace_back();
        for (int column = 0; column < columns; ++column) lines.back().push_back(Cell(list, row, column));
    }
    return lines;
}

// Waits on a thread of its own for the view titled `caption`, reads it into `contents` and closes it.
class ViewReader {
public:
    ViewReader(const char* caption, ViewContents& contents, int mostLines = 100)
        : helper_([=, &contents] {
              HWND view = WaitForWindow(caption, nullptr, 20000);
              if (!view) return;
              contents.seen = true;
              contents.summary = WindowText(GetDlgItem(view, IDC_REPORT_SUMMARY));
              HWND items = GetDlgItem(view, IDC_REPORT_ITEMS);
              contents.itemCount = static_cast<int>(SendMessageA(items, LVM_GETITEMCOUNT, 0, 0));
              contents.items = Lines(items, mostLines);
              if (contents.itemCount) contents.lastItem = Cell(items, contents.itemCount - 1, 0);
              contents.groups = Lines(GetDlgItem(view, IDC_REPORT_GROUPS), 1000);
              PostMessageA(view, WM_COMMAND, IDCANCEL, 0);
          }) {}

private:
    Helper helper_;
};

const std::vector<std::string>* LineOf(const ViewContents& contents, const std::string& item) {
    for (const auto& line : contents.items)
        if (!line.empty() && line[0] == item) return &line;
    return nullptr;
}

const char kRunMru[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

// The program's own pages around the real cleaners.
struct Reports : MainWindowTest {
    void AddTestPages() override {}
    void Click(int page, int button) {
        SendMessageA(main->PageFor(page)->hwnd(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(main->PageFor(page)->hwnd(), button)));
    }
    // A file in the Recent folder, which "Empty Recent Items list" empties; gone after the test.
    std::string SeedRecent(const char* name, size_t size) {
        const std::string recent = MakeFolder(ShellFolderPath(CSIDL_APPDATA) + "\\Microsoft\\Windows\\Recent");
        const std::string path = recent + "\\" + name;
        MakeFile(path, size);
        seeded_.push_back(path);
        return path;
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        for (const std::string& path : seeded_) DeleteFileA(path.c_str());
    }

private:
    std::vector<std::string> seeded_;
};

} // namespace

TEST(AnotherProcess, DISABLED_HoldsAFile) { HeldByAnotherProcess::Serve(); }

TEST_F(Reports, PreviewChangesNothingAndShowsWhatAClearingWouldRemoveAndLeave) {
    const std::string link = SeedRecent("plan.docx.lnk", 700);
    const std::string held = SeedRecent("held.txt.lnk", 300);
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, kRunMru, "a", "regedit"));
    s.emptyRecentItems = 1;
    s.clearRunHistory = 1;
    HeldByAnotherProcess holder(held);
    ASSERT_TRUE(holder.holding());
    const std::vector<uint8_t> before = ReadFileBytes(link);

    ViewContents view;
    {
        BoxRecorder boxes; // a preview asks nothing
        ViewReader reader("Clearing preview", view);
        Click(PAGE_WHAT_TO_CLEAR, IDC_WHAT_PREVIEW);
        EXPECT_TRUE(boxes.boxes.empty());
    }
    // Nothing changed.
    EXPECT_EQ(ReadFileBytes(link), before);
    EXPECT_TRUE(PathExists(held));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kRunMru));
    EXPECT_FALSE(PathExists(s.ReportsFolder())) << "a preview is no clearing to keep a report of";
    EXPECT_EQ(s.runActive, 0);

    // The view showed the preview's record, line by line.
    ASSERT_TRUE(view.seen);
    const auto preview = cleaner->LastRecord();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->preview);
    EXPECT_EQ(view.itemCount, static_cast<int>(preview->items.size()));
    EXPECT_EQ(view.summary.rfind("Preview of ", 0), 0u) << view.summary;
    const auto* linkLine = LineOf(view, link);
    ASSERT_NE(linkLine, nullptr);
    EXPECT_EQ((*linkLine)[1], "removed file");
    EXPECT_EQ((*linkLine)[2], "700 bytes");
    const auto* heldLine = LineOf(view, held);
    ASSERT_NE(heldLine, nullptr);
    EXPECT_EQ((*heldLine)[1], "left file");
    EXPECT_EQ((*heldLine)[3], "held by " + ThisProgramName() + " (process " + std::to_string(holder.pid()) + ")");
    EXPECT_NE(LineOf(view, std::string("HKEY_CURRENT_USER\\") + kRunMru), nullptr);
    // One line of totals per part and kind: Windows' Recent Items, Windows' Run History.
    ASSERT_EQ(view.groups.size(), preview->Groups().size());
    ASSERT_EQ(view.groups.size(), 2u);
    EXPECT_EQ(view.groups[0][0], "Windows");
    EXPECT_EQ(view.groups[0][2], "Recent Items");
    EXPECT_EQ(view.groups[0][3], "1"); // removed
    EXPECT_EQ(view.groups[0][4], "1"); // left
}

TEST_F(Reports, LastReportShowsTheLastClearingOrThatThereIsNone) {
    ViewContents none;
    {
        ViewReader reader("Clearing report", none);
        Click(PAGE_WHAT_TO_CLEAR, IDC_WHAT_LAST_REPORT);
    }
    ASSERT_TRUE(none.seen);
    EXPECT_EQ(none.summary, "No clearing has been recorded yet.");
    EXPECT_EQ(none.itemCount, 0);

    const std::string link = SeedRecent("budget.xlsx.lnk", 1500);
    s.emptyRecentItems = 1;
    s.confirmAfterClear = 0;
    Command(CmdClearAll);
    EXPECT_FALSE(PathExists(link));
    ViewContents last;
    {
        ViewReader reader("Clearing report", last);
        Click(PAGE_WHAT_TO_CLEAR, IDC_WHAT_LAST_REPORT);
    }
    ASSERT_TRUE(last.seen);
    EXPECT_EQ(last.summary.rfind("Cleared on ", 0), 0u) << last.summary;
    EXPECT_NE(last.summary.find(" by Clear All.\nRemoved: 1 file (1.46 KB)"), std::string::npos) << last.summary;
    const auto* line = LineOf(last, link);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ((*line)[2], "1.46 KB");
}

TEST_F(Reports, TheConfirmationOffersTheReportOfTheClearingItFollows) {
    const std::string link = SeedRecent("letter.docx.lnk", 10);
    s.emptyRecentItems = 1;
    s.confirmAfterClear = 1;
    ViewContents view;
    BoxRecorder boxes;
    boxes.openReports = true;
    {
        ViewReader reader("Clearing report", view);
        Command(CmdClearAll);
    }
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].question);
    EXPECT_TRUE(view.seen) << "Yes did not open the report";
    EXPECT_EQ(view.itemCount, static_cast<int>(cleaner->LastRecord()->items.size()));
    EXPECT_NE(LineOf(view, link), nullptr);
}

TEST_F(Reports, EveryOneOfManyItemsIsThereToScrollTo) {
    auto record = std::make_shared<RunRecord>();
    record->trigger = "scheduler";
    for (int n = 0; n < 20000; ++n) {
        RecordItem item;
        item.path = "C:\\cache\\entry" + std::to_string(n);
        item.bytes = static_cast<uint64_t>(n);
        item.group = n % 2 ? "Firefox" : "Opera";
        item.category = "Cache";
        record->items.push_back(item);
    }
    ViewContents view;
    {
        ViewReader reader("Clearing report", view, 0);
        ShowReportView(main->hwnd(), record, s.ReportsFolder());
    }
    ASSERT_TRUE(view.seen);
    EXPECT_EQ(view.itemCount, 20000);
    EXPECT_EQ(view.lastItem, "C:\\cache\\entry19999");
    ASSERT_EQ(view.groups.size(), 2u);
    EXPECT_EQ(view.groups[0][0], "Opera");
    EXPECT_EQ(view.groups[1][3], "10000");
}
