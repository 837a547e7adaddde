#pragma once
// A shredding method: the byte patterns written over a file before it is deleted.
// Portable: no Windows header.
#include <string>
#include <vector>

struct ShredMethod {
    std::string name;
    int passCount = 0;
    int verifyMode = 0; // 0 no read-back, 1 check the last pass once, 2 check after every pass
    int deleteMode = 0; // 1 delete only when every check succeeded; 0 or 2 delete anyway
    std::vector<std::string> passes;
};

// The one built-in method, "U.S. DoD 5220.22-M (E)": random byte, its complement, a new random byte.
ShredMethod BuiltInShredMethod();
