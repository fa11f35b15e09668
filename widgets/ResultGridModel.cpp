#include "ResultGridModel.h"

#include "DataSet.h"
#include "QtText.h"

namespace {

// Longer texts are cut for the cell; the value pane shows them whole.
constexpr int kCellTextLimit = 1000;

bool IsNumeric(TFieldType type)
{
    switch (type) {
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency:
    case ftBCD: case ftAutoInc: case ftLargeint:
        return true;
    default:
        return false;
    }
}

// One line for the cell: line breaks and tabs become blanks.
std::string CellLine(std::string text)
{
    if (text.size() > kCellTextLimit)
        text.resize(kCellTextLimit);
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    return text;
}

} // namespace

TResultGridModel::TResultGridModel(TDataSet& dataSet, QObject* parent) : QAbstractTableModel(parent), dataSet_(dataSet)
{
    Reload();
}

int TResultGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int TResultGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

TField* TResultGridModel::FieldOf(int column) const
{
    if (!dataSet_.Active() || column < 0 || column >= dataSet_.FieldCount())
        return nullptr;
    return &dataSet_.Fields(column);
}

QVariant TResultGridModel::CellText(const TField& field, int role) const
{
    try {
        if (field.DataType() == ftBoolean) {
            if (role != Qt::CheckStateRole)
                return {};
            if (field.ValueIsNull())
                return Qt::PartiallyChecked;
            return field.ValueFlag() ? Qt::Checked : Qt::Unchecked;
        }
        if (role == Qt::CheckStateRole)
            return {};
        if (role == Qt::EditRole)
            return ToQString(field.FieldText());
        return ToQString(CellLine(field.DisplayText()));
    } catch (const std::exception& error) {
        // A value the field cannot read shows the reason instead.
        return role == Qt::DisplayRole ? QVariant(ToQString(error.what())) : QVariant();
    }
}

QVariant TResultGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return {};
    const TField* field = FieldOf(index.column());
    if (!field)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::CheckStateRole: {
        const TDataSet::TRecordPeek peek(dataSet_, index.row());
        return CellText(*field, role);
    }
    case Qt::TextAlignmentRole:
        return IsNumeric(field->DataType()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                            : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        const TField* field = FieldOf(section);
        if (field && role == Qt::DisplayRole)
            return ToQString(field->FieldName());
        return {};
    }
    // The indicator column marks the current record: browsing, editing, inserting.
    if (role != Qt::DisplayRole || !dataSet_.Active() || section != dataSet_.CurrentRecord() ||
        dataSet_.FetchedRecordCount() == 0)
        return {};
    switch (dataSet_.State()) {
    case TDataSetState::Edit: return QStringLiteral("I");
    case TDataSetState::Insert: return QStringLiteral("*");
    default: return QStringLiteral("\u25B6");
    }
}

Qt::ItemFlags TResultGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const TField* field = FieldOf(index.column());
    if (!field)
        return flags;
    flags |= Qt::ItemIsEditable;
    if (field->DataType() == ftBoolean)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool TResultGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    TField* field = FieldOf(index.column());
    if (!field || (role != Qt::EditRole && role != Qt::CheckStateRole))
        return false;
    try {
        dataSet_.MoveTo(index.row());
        if (role == Qt::CheckStateRole) {
            // A null becomes true, as an unticked box does.
            field->SetFlag(value.value<Qt::CheckState>() == Qt::Checked);
        } else {
            const std::string text = FromQString(value.toString());
            if (text == field->FieldText())
                return true;
            field->SetText(text);
        }
        return true;
    } catch (const std::exception& error) {
        if (OnError)
            OnError(error.what());
        return false;
    }
}

bool TResultGridModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && dataSet_.Active() && dataSet_.CanFetchMore();
}

void TResultGridModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    try {
        dataSet_.FetchMore();
    } catch (const std::exception& error) {
        // The rows fetched before the failure stay; the result ends there.
        if (OnError)
            OnError(error.what());
    }
}

void TResultGridModel::Reload()
{
    beginResetModel();
    rows_ = dataSet_.Active() ? dataSet_.FetchedRecordCount() : 0;
    columns_ = dataSet_.Active() ? dataSet_.FieldCount() : 0;
    endResetModel();
}

void TResultGridModel::RowsAppended()
{
    const int rows = dataSet_.Active() ? dataSet_.FetchedRecordCount() : 0;
    if (rows <= rows_)
        return;
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
}

void TResultGridModel::RecordChanged(int row)
{
    if (row >= 0 && row < rows_ && columns_ > 0)
        emit dataChanged(index(row, 0), index(row, columns_ - 1));
    IndicatorChanged(row);
}

void TResultGridModel::IndicatorChanged(int row)
{
    if (row >= 0 && row < rows_)
        emit headerDataChanged(Qt::Vertical, row, row);
}
