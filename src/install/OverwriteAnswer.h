// The four answers to the question asked before an existing file is
// replaced during the copy.
#pragma once

#include <cstdint>

enum OverwriteAnswer : int32_t {
    Yes = 1,      // "Tak"
    YesToAll = 2, // "Tak na wszystkie"
    No = 3,       // "Nie"; also the answer when the question ends otherwise
    NoToAll = 4,  // "Nie na wszystkie"
};
