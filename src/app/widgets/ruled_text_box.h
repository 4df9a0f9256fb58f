#pragma once

#include "commands/key_rules.h"

#include <QClipboard>
#include <QColor>
#include <QLineEdit>

namespace td {

// A text box of the dialogs: it lets in only what its key rule allows,
// typed or pasted, selects its whole text and turns light cyan while it has
// the focus, takes the window background when it loses it and the button face
// while it is disabled.
class RuledTextBox : public QLineEdit {
    Q_OBJECT

public:
    RuledTextBox(const QString& name, BoxRule rule, int maxLength, QWidget* parent = nullptr);

    BoxRule rule() const { return m_rule; }

    // Inserts the clipboard's text at the selection if the key rule lets all of it in.
    void pasteChecked(QClipboard::Mode mode = QClipboard::Clipboard);

    static QColor focusColour() { return QColor(192, 255, 255); }
    QColor windowBackground() const;
    QColor buttonFace() const;

signals:
    // The focus moved to another control of the dialog (not: the window was deactivated).
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    BoxState state() const;
    bool insertChecked(const QString& text);
    void setBackground(const QColor& colour);

    BoxRule m_rule;
    bool m_selectAfterClick = false;
};

}  // namespace td
