#include "engine/shred_method.h"

ShredMethod BuiltInShredMethod() {
    ShredMethod m;
    m.name = "U.S. DoD 5220.22-M (E)";
    m.passCount = 3;
    m.verifyMode = 0;
    m.deleteMode = 0;
    m.passes = {"Random", "Complement", "Random"};
    return m;
}
