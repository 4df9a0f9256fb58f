#pragma once

#include <vector>

namespace td {

class Register;

struct InexactCell {
    int row;
    int column;
};

// The deposits that a save and a reopen would change: a cell longer than its
// field, holding a character that Windows-1252 cannot hold, or with spaces at
// either end (the reader drops them).
struct InexactDeposits {
    std::vector<InexactCell> cells;  // every such cell of the first few deposits
    int depositCount = 0;            // all deposits with such a cell
    bool none() const { return depositCount == 0; }
};

InexactDeposits findInexactDeposits(const Register& reg, int firstFew);

}  // namespace td
