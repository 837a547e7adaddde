# Mozilla User Preferences

user_pref("browser.download.dir", "");
user_pref("browser.open.dir", "");
