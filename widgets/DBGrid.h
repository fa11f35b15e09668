#pragma once
// The result grid: shows a dataset through a data source, one row per record
// and one column per field, under a title row and beside an indicator column
// that marks the current record. The grid's current row is the dataset's
// current record both ways. Cells edit the current record, which is posted
// when the current row moves to another record.

#include <QPointer>
#include <QTableView>
#include <functional>
#include <string>

#include "DataSet.h"

class TDataSource;
class TField;
class TResultGridModel;

class TDBGrid : public QTableView, private TDataSetObserver {
    Q_OBJECT
public:
    explicit TDBGrid(TDataSource& dataSource, QWidget* parent = nullptr);
    ~TDBGrid() override;

    TResultGridModel* Model() const { return model_; }
    // The field of the current data column; null when there is none.
    TField* SelectedField() const;
    int SelectedIndex() const { return currentColumn_; }

    // Asked before a record is deleted ("Delete record?"); true to go on.
    std::function<bool(const std::string&)> OnConfirm;
    // Shows an error raised by the user's action in the grid.
    std::function<void(const std::string&)> OnError;

signals:
    // The current data column changed to another one (keyboard or mouse).
    void ColEnter();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void commitData(QWidget* editor) override;

private:
    friend class TGridCellDelegate;

    void DataSetChanged(TDataSetChange change) override;
    void Reload(bool newColumns);
    void SetColumnWidths();
    void ShowCurrentRecord();
    void MarkCurrentRecord();
    // Runs a command of the user's; an error it raises is shown.
    bool Attempt(const std::function<void()>& action);
    void Report(const std::string& message);
    bool CommitOpenEditor();
    bool OnLastRecord() const;

    TDataSource& dataSource_;
    TDataSet& dataSet_;
    TResultGridModel* model_;
    QPointer<QWidget> editor_;     // the open cell editor
    bool commitFailed_ = false;
    bool syncing_ = false;         // moving the current cell to follow the dataset
    int currentColumn_ = -1;
    int markedRow_ = -1;           // the row the indicator marks
};
