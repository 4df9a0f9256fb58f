#pragma once

class QWidget;

namespace td {

// Captions of one window may share an access key letter; the toolkit then
// only moves the focus from one to the next. With this, a key whose letter
// belongs to exactly one enabled button, switch or option of the window
// presses it (a check box toggles, an option is chosen), even when labels
// and frames share the letter. Keys shared by two such controls still move
// the focus between them.
void makeAccessKeysAct(QWidget& window);

}  // namespace td
