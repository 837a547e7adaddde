// Any options.ini: a file that parses is written back word for word (its line ends made "\r\n"),
// and what is set in it reads back, with every other entry as it was.
#include <cstddef>
#include <cstdint>

#include "app/options_ini.h"
#include "fuzz/edit_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = CopyOf(data, size);
    std::optional<OptionsIni> ini = OptionsIni::Parse(in);
    if (!ini) return 0;
    const std::string written = ini->Serialize();
    const std::optional<OptionsIni> again = OptionsIni::Parse(written);
    Require(again && again->Serialize() == written);
    ini->Set("Fuzz Page", "Option", "1");
    ini->SetAll("Fuzz List", "site", {"a.example", "b.example"});
    const std::optional<OptionsIni> changed = OptionsIni::Parse(ini->Serialize());
    Require(changed && changed->Get("Fuzz Page", "Option") == "1");
    Require(changed->GetAll("Fuzz List", "site") == std::vector<std::string>({"a.example", "b.example"}));
    return 0;
}
