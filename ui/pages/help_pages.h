#pragma once
// The pages of the help tree, for the main window's page table.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "ui/page.h"

std::vector<std::pair<uint32_t, std::unique_ptr<CPage>>> MakeHelpPages();
