#pragma once
// The table model over a dataset: one row per fetched record, one column per
// field. It copies nothing: each cell's text is read from the dataset when the
// view asks for it, through the field's text handler, without moving the
// dataset's current record. Boolean fields are check boxes.

#include <QAbstractTableModel>
#include <functional>
#include <string>

class TDataSet;
class TField;

class TResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TResultGridModel(TDataSet& dataSet, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The field of a column; null outside the fields.
    TField* FieldOf(int column) const;

    // Follow the dataset: everything anew, rows fetched, one record's values,
    // the current record's mark in the indicator column.
    void Reload();
    void RowsAppended();
    void RecordChanged(int row);
    void IndicatorChanged(int row);

    // Reports a value that could not be written to a field.
    std::function<void(const std::string&)> OnError;

private:
    QVariant CellText(const TField& field, int role) const;

    TDataSet& dataSet_;
    int rows_ = 0;
    int columns_ = 0;
};
