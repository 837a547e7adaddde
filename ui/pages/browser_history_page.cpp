#include "ui/pages/browser_history_page.h"

#include "resources/resource_ids.h"

CWindowProxy::CWindowProxy() : CPage(IDD_BROWSER_HISTORY, 480, 300) {}
