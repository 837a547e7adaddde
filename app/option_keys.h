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

} // namespace OptionKeys
