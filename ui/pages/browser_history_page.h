#pragma once
// "Browser History": tells the user to pick a browser below it in the tree; nothing to change.
#include "ui/page.h"

class CWindowProxy : public CPage {
public:
    CWindowProxy();
    bool IsOptionPage() const override { return true; } // in the options tree, never modified
};
