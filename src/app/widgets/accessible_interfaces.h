#pragma once

#include <QString>

class QWidget;

namespace td {

// Registers, once for the process, how assistive technology sees the
// program's own controls: picture buttons as push buttons with a press
// action, value displays and on/off switches with their shown text, the
// register grid as a table of its cells, a chart view as a chart named and
// described by the view, a window of the program's own
// made from a plain QWidget as a window, and widgets marked hidden as
// nothing at all. Each such control or window calls it when it is built.
void installAccessibleInterfaces();

// Keeps a widget that only repeats what another one shows (an overlay) out
// of what assistive technology reads. Call before the widget is first shown.
void hideFromAssistiveTechnology(QWidget& widget);

// A caption as it is read: without the "&" that marks its access key.
QString accessibleCaption(const QString& caption);

}  // namespace td
