# Mozilla User Preferences

user_pref("browser.cache.disk.parent_directory", "C:\\Temp\\moz");
user_pref("browser.download.dir", "C:\\Users\\u\\Downloads");
user_pref("browser.download.lastDir", "C:\\Users\\u\\Desktop");
user_pref("browser.download.lastDir.savePerSite", false);
user_pref("browser.open.dir", "D:\\Photos");
user_pref("browser.startup.homepage", "http://example.com/");
