#pragma once

class QApplication;

namespace td {

// The one look of the program on every desktop: the Fusion style and a
// sans-serif application font at 8.25 point, so every caption fits its control.
void applyApplicationLook(QApplication& app);

}  // namespace td
