#pragma once

namespace td {

// The program-wide flags. Owned by the main window and handed to the windows
// that read or set them; all false at start, never saved.
struct ModLease {
    bool ModifiedFlag = false;
    bool PrintCancelledFlag = false;
    bool PrintAllFlag = false;
    bool PrintActiveFlag = false;
};

}  // namespace td
