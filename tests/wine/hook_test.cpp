// hook.dll: the clipboard is emptied after a paste with the chosen keys, and only then.
#include <gtest/gtest.h>

#include <thread>

#include "hook/hook.h"
#include "tests/wine/ui_support.h"

namespace {

void PutText(HWND owner, const char* text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const size_t size = strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(memory), text, size);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

bool ClipboardHasText() { return IsClipboardFormatAvailable(CF_TEXT) != FALSE; }

// One key event each, `up` marking key-up events.
void Send(const std::vector<std::pair<WORD, bool>>& events) {
    std::vector<INPUT> input;
    for (auto [key, up] : events) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        input.push_back(in);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// The keys pressed in order, then released the other way round.
void Press(std::initializer_list<WORD> keys) {
    std::vector<std::pair<WORD, bool>> events;
    for (WORD k : keys) events.push_back({k, false});
    for (auto it = keys.end(); it != keys.begin();) events.push_back({*--it, true});
    Send(events);
}

struct HookTest : ::testing::Test {
    HWND window = nullptr;
    void SetUp() override {
        window = CreateWindowExA(0, "STATIC", "hook test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(window);
        PumpMessages(100);
    }
    void TearDown() override {
        UnHook();
        DestroyWindow(window);
    }
    // Pastes (or copies) and waits long enough for the hook's delayed clearing.
    bool TextSurvives(std::initializer_list<WORD> keys) {
        PutText(window, "secret");
        Press(keys);
        PumpMessages(1500);
        return ClipboardHasText();
    }
};

} // namespace

TEST_F(HookTest, CtrlVEmptiesTheClipboardCtrlCDoesNot) {
    SetHook(window, TRUE, FALSE);
    EXPECT_TRUE(TextSurvives({VK_CONTROL, 'C'}));
    EXPECT_FALSE(TextSurvives({VK_CONTROL, 'V'}));
    EXPECT_FALSE(TextSurvives({VK_RCONTROL, 'V'}));
    EXPECT_TRUE(TextSurvives({'V'}));
    EXPECT_TRUE(TextSurvives({VK_SHIFT, VK_INSERT})); // not chosen
}

TEST_F(HookTest, APasteIsTheKeyboardsStateWhenTheKeyGoesDown) {
    SetHook(window, TRUE, FALSE);
    EXPECT_TRUE(TextSurvives({VK_CONTROL, VK_MENU, 'V'})) << "AltGr+V";
    // Ctrl goes down as the generic key and up as the left one: a release that a hook keeping
    // its own count would never pair with the press, as when the secure desktop took it.
    PutText(window, "secret");
    Send({{VK_CONTROL, false}, {VK_LCONTROL, true}, {'V', false}, {'V', true}});
    PumpMessages(1500);
    EXPECT_TRUE(ClipboardHasText()) << "a plain v after Ctrl went up";
}

TEST_F(HookTest, ShiftInsertOnlyWhenChosen) {
    SetHook(window, FALSE, TRUE);
    EXPECT_TRUE(TextSurvives({VK_CONTROL, 'V'}));
    EXPECT_FALSE(TextSurvives({VK_SHIFT, VK_INSERT}));
    EXPECT_FALSE(TextSurvives({VK_LSHIFT, VK_INSERT}));
    EXPECT_TRUE(TextSurvives({VK_CONTROL, VK_INSERT})); // copy
}

TEST_F(HookTest, UnHookStopsWatching) {
    SetHook(window, TRUE, TRUE);
    UnHook();
    EXPECT_TRUE(TextSurvives({VK_CONTROL, 'V'}));
    SetHook(window, FALSE, FALSE); // nothing chosen: nothing watched
    EXPECT_TRUE(TextSurvives({VK_SHIFT, VK_INSERT}));
}

TEST_F(HookTest, WatchesWhileTheThreadThatSetItIsBusy) {
    // The program's UI thread sleeps for a hot key and runs whole clearings; pastes in other
    // programs must neither wait for it nor go unnoticed meanwhile.
    SetHook(window, TRUE, FALSE);
    PutText(window, "secret");
    bool emptiedWhileBusy = false;
    std::thread typist([&] {
        Press({VK_CONTROL, 'V'});
        for (int waited = 0; waited < 10000 && !emptiedWhileBusy; waited += 50) {
            Sleep(50);
            emptiedWhileBusy = !ClipboardHasText();
        }
    });
    typist.join(); // meanwhile this thread neither pumps nor answers
    EXPECT_TRUE(emptiedWhileBusy);
}
