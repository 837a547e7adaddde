#pragma once
// The browser pages, for the main window's page table.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "ui/page.h"

class HistoryCleaner;

std::vector<std::pair<uint32_t, std::unique_ptr<CPage>>> MakeBrowserPages(ProgramSettings* settings,
                                                                          HistoryCleaner* cleaner);
