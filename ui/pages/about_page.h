#pragma once
// "About": the product's name and version, a notice line, the logo, and a link to the vendor's
// web page. Help tree; nothing to apply or reset.
#include <functional>
#include <string>

#include "ui/page.h"

class CWindowHelpAbout : public CPage {
public:
    CWindowHelpAbout();
    ~CWindowHelpAbout() override;

    // The link opens the vendor's page in the user's browser; tests take the address instead.
    using UrlOpener = std::function<void(const char* url)>;
    static void SetUrlOpenerForTests(UrlOpener opener);

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OpenSite();
    void PaintLogo();

    std::string nameText_;
    HCURSOR hand_ = nullptr;
    HBITMAP logo_ = nullptr;
};
