#pragma once

#include "platform/platform.h"

#include <QDialog>

class QPushButton;

namespace td {

// The About box: logo, icon, title, version, the maker's contact line and a
// copying warning. OK, Enter and Esc close it; it changes nothing.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(Platform& platform, QWidget* parent = nullptr);

    void cmdOK_Click();

private:
    QPushButton* m_cmdOK = nullptr;
};

}  // namespace td
