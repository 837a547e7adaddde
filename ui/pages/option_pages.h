#pragma once
// The pages of the options tree that are not a browser's, for the main window's page table.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "ui/page.h"

class HistoryCleaner;
class SettingsPageHost;

std::vector<std::pair<uint32_t, std::unique_ptr<CPage>>> MakeOptionPages(ProgramSettings* settings,
                                                                         HistoryCleaner* cleaner,
                                                                         SettingsPageHost* host);
