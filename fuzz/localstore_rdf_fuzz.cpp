// Any "localstore.rdf": the address-bar cut takes out one stretch, leaves the sequence empty and is
// idempotent.
#include <cstddef>
#include <cstdint>

#include "engine/cleaners/mozilla_edits.h"
#include "fuzz/edit_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = CopyOf(data, size);
    const auto out = LocalstoreWithoutUrlbarHistory(in);
    if (!out) return 0;
    Require(IsOneCut(in, *out));
    Require(out->find("nc:urlbar-history\"></RDF:Seq>") != std::string::npos);
    Require(CountOf(in, "</RDF:Seq>") == CountOf(*out, "</RDF:Seq>"));
    Require(!LocalstoreWithoutUrlbarHistory(*out));
    return 0;
}
