#pragma once

#include <QWidget>

class QTableView;

namespace td {

// A window of figures beside the main window: its table's columns fit their
// texts when it first shows (after that their widths are the user's), and
// Escape closes it.
class SideWindow : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

protected:
    // The table whose columns fit their texts on the first show.
    void setFittedTable(QTableView* table) { m_fittedTable = table; }
    // Whether the columns have been fitted: columns that come later fit their texts too.
    bool columnsFitted() const { return m_columnsFitted; }

    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QTableView* m_fittedTable = nullptr;
    bool m_columnsFitted = false;
};

}  // namespace td
