#pragma once
// The sections and keys of options.ini: one section per page, named as the page is, one key per box.
// Portable: no Windows header.

namespace OptionKeys {

inline constexpr char kFirefoxPage[] = "Mozilla Firefox";
inline constexpr char kSessions[] = "Sessions";
inline constexpr char kFormData[] = "Form Data";

inline constexpr char kWindowsPage[] = "Windows History";
inline constexpr char kExplorerLists[] = "Explorer Lists";
inline constexpr char kThumbnailCaches[] = "Thumbnail Caches";
inline constexpr char kThumbnailCachesAtStart[] = "Thumbnail Caches At Start";
inline constexpr char kErrorReports[] = "Error Reports";
inline constexpr char kPowerShellHistory[] = "PowerShell History";
inline constexpr char kClipboardHistory[] = "Clipboard History";
inline constexpr char kTimeline[] = "Timeline";
inline constexpr char kResetJumpLists[] = "Reset Jump Lists";
inline constexpr char kShellBags[] = "ShellBags";

// The Chromium family's pages: the Google Chrome page keeps its five boxes in settings.dat and adds
// sessions and form data here; the Edge, Brave and Vivaldi pages and today's Opera on the Opera
// page keep every box here.
inline constexpr char kChromePage[] = "Google Chrome";
inline constexpr char kEdgePage[] = "Microsoft Edge";
inline constexpr char kBravePage[] = "Brave";
inline constexpr char kVivaldiPage[] = "Vivaldi";
inline constexpr char kOperaPage[] = "Opera";
inline constexpr char kHistory[] = "History";
inline constexpr char kCache[] = "Cache";
inline constexpr char kCookies[] = "Cookies";
inline constexpr char kPasswords[] = "Passwords";
inline constexpr char kDownloads[] = "Downloads";

// The sites whose cookies stay, one "Site" per entry ("example.com", "192.168.1.10:8080"). "Damaged"
// marks a list that was lost with a damaged options.ini: until the list is saved again, no cookie
// store is touched, even after the rest of the file has been written anew.
inline constexpr char kCookiesToKeepPage[] = "Cookies to keep";
inline constexpr char kKeepSite[] = "Site";
inline constexpr char kKeepListDamaged[] = "Damaged";

} // namespace OptionKeys
