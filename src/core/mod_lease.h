#pragma once

namespace td {

// The program-wide flags. Owned by the main window and handed to the windows
// that read or set them; all false at start, never saved. ModifiedFlag is
// the clean state of the main window's undo stack (RegisterHistory).
struct ModLease {
    bool ModifiedFlag = false;
    bool PrintCancelledFlag = false;
    bool PrintAllFlag = false;
    bool PrintActiveFlag = false;
};

}  // namespace td
