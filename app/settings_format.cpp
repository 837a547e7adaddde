#include "app/settings_format.h"

#include <algorithm>
#include <cstring>
#include <string>

const char kSettingsHeader[] = "Zephyrlanthorpe settings.dat 7.5";
static_assert(sizeof(kSettingsHeader) == kSettingsHeaderSize, "header is 32 characters and a zero byte");

namespace {

// The one statement of the field order after the header; writer and reader both walk it.
template <class Record, class Io> void WalkStoredFields(Record& s, Io& io) {
    io.Int(s.windowLeft);
    io.Int(s.windowTop);
    io.Int(s.windowWidth);
    io.Int(s.windowHeight);
    io.Int(s.windowShowCmd);
    io.Int(s.splitterPos);
    io.Byte(s.startWithWindows);
    io.Byte(s.invisibleMode);
    io.Byte(s.passwordEnabled);
    io.Text(s.password);
    for (auto* f : {&s.clearOnExit, &s.clearOnStart, &s.clearClipboardOnCtrlV, &s.clearClipboardOnShiftIns,
                    &s.emptyRecycleBin, &s.clearRecentDocuments, &s.emptyRecentItems, &s.clearClipboard,
                    &s.emptyTempFolders, &s.clearPageFileAtShutdown, &s.clearToolbarHistory})
        io.Byte(*f);
    for (auto* m : {&s.historyMask, &s.bookmarksMask, &s.cacheMask, &s.cookiesMask, &s.passwordsMask,
                    &s.downloadsMask, &s.purgeHistoryMask, &s.reserved1})
        io.Int(*m);
    for (auto* f : {&s.clearRunHistory, &s.clearSearchFilesHistory, &s.clearSearchComputersHistory,
                    &s.clearUserAssist, &s.clearStreams, &s.clearOpenSaveHistory, &s.clearOfficeHistory,
                    &s.clearMediaPlayerHistory, &s.clearGoogleDesktopHistory, &s.deleteSkypeCalls,
                    &s.deleteSkypeChats, &s.purgeSkypeDatabase, &s.clearAcrobatReaderRecent,
                    &s.clearAcrobatRecent, &s.clearAcrobatHistory, &s.clearAcrobatCollections,
                    &s.deleteIECompatCacheIndex, &s.deletePrivacIEIndex, &s.clearMostPopularSites,
                    &s.clearLastSession, &s.shredFiles, &s.showShredProgress})
        io.Byte(*f);
    io.Int(s.navigationTreeState);
    io.Int(s.reserved2);
    for (auto* k : {&s.hotKeyClearAll, &s.hotKeyMinimizeAll, &s.hotKeyCloseBrowsers, &s.hotKeyCloseAndClear,
                    &s.hotKeyHideBrowsers, &s.hotKeyShowBrowsers})
        io.Int(*k);
    io.Int(s.maxIndexDatSizeMb);
    io.Byte(s.clearOperaSpeedDial);
    io.LowByte(s.clearEvery);
    io.Int(s.clearEveryHours);
    io.Int(s.clearEveryMinutes);
    for (auto* f : {&s.askCloseBrowsers, &s.confirmAfterClear, &s.clearOnBrowserClose, &s.clearSkypeOnQuit})
        io.LowByte(*f);
}

struct Writer {
    std::vector<uint8_t> out;
    void Put32(uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    template <class T> void Int(const T& v) { Put32(static_cast<uint32_t>(v)); }
    void Byte(const uint8_t& v) { out.push_back(v); }
    void LowByte(const int32_t& v) { out.push_back(static_cast<uint8_t>(v & 0xFF)); }
    void Text(const std::string& t) {
        Put32(static_cast<uint32_t>(t.size()));
        out.insert(out.end(), t.begin(), t.end());
    }
};

// Reads field by field; once a field does not fit in what is left, it and every later field keep
// their values (a half-read field would mix old and new bytes).
struct Reader {
    const uint8_t* p;
    size_t left;
    bool ended = false;
    bool Take(void* dst, size_t n) {
        if (ended || left < n) {
            ended = true;
            return false;
        }
        std::memcpy(dst, p, n);
        p += n;
        left -= n;
        return true;
    }
    bool Get32(uint32_t& v) {
        uint8_t b[4];
        if (!Take(b, 4)) return false;
        v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        return true;
    }
    template <class T> void Int(T& v) {
        uint32_t raw;
        if (Get32(raw)) v = static_cast<T>(raw);
    }
    void Byte(uint8_t& v) { Take(&v, 1); }
    void LowByte(int32_t& v) {
        uint8_t b;
        if (Take(&b, 1)) v = b;
    }
    void Text(std::string& t) {
        uint32_t n;
        if (!Get32(n)) return;
        // The length comes from the file: never trust it beyond the bytes that are there. Part of a
        // password digest would match no password at all and lock the user out.
        if (n > left) {
            ended = true;
            return;
        }
        t.assign(reinterpret_cast<const char*>(p), n);
        p += n;
        left -= n;
    }
};

} // namespace

std::vector<uint8_t> SerializeSettings(const ProgramSettings& s) {
    Writer w;
    w.out.reserve(kSettingsFixedSize + s.password.size());
    w.out.insert(w.out.end(), kSettingsHeader, kSettingsHeader + kSettingsHeaderSize);
    WalkStoredFields(s, w);
    return std::move(w.out);
}

ParseResult ParseSettings(const uint8_t* data, size_t size, ProgramSettings& s) {
    // The header is compared as a zero-terminated string read into a zeroed 33-byte buffer.
    char header[kSettingsHeaderSize + 1] = {};
    if (size) std::memcpy(header, data, std::min(size, kSettingsHeaderSize));
    if (std::strcmp(header, kSettingsHeader) != 0) return ParseResult::WrongHeader;
    if (size < kSettingsHeaderSize) {
        // Header text without its terminating zero byte: strcmp saw our own zero.
        return ParseResult::WrongHeader;
    }
    Reader r{data + kSettingsHeaderSize, size - kSettingsHeaderSize};
    WalkStoredFields(s, r);
    if (s.splitterPos < 180) s.splitterPos = 180;
    return r.ended ? ParseResult::Short : ParseResult::Ok;
}
