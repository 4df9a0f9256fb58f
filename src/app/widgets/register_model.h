#pragma once

#include <QAbstractTableModel>

namespace td {

class Register;

// Shows a Register to a view: view row r is register row r + 1, and the
// register's header row 0 gives the horizontal header texts. data() decodes
// one cell on demand, so the view costs nothing per row it does not show.
class RegisterModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit RegisterModel(Register& reg, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static int viewRow(int registerRow) { return registerRow - 1; }
    static int registerRow(int viewRow) { return viewRow + 1; }

private:
    Register& m_register;
};

}  // namespace td
