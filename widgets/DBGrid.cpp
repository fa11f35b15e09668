#include "DBGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTimer>

#include "DataSource.h"
#include "ResultGridModel.h"

namespace {

// Characters a field's column is wide enough for.
int DisplayWidth(const TField& field)
{
    switch (field.DataType()) {
    case ftString: case ftFixedChar: case ftWideString: case ftBytes: case ftVarBytes:
        return std::clamp(field.Size(), static_cast<int>(field.FieldName().size()), 64);
    case ftSmallint: return 6;
    case ftWord: return 5;
    case ftInteger: case ftAutoInc: return 11;
    case ftLargeint: return 15;
    case ftBoolean: return 5;
    case ftFloat: case ftCurrency: return 10;
    case ftBCD: return std::clamp(field.Precision() + 2, 10, 34);
    case ftDate: case ftTime: return 10;
    case ftDateTime: return 18;
    case ftGuid: return 38;
    default: return 10;
    }
}

const char* const kDeleteQuestion = "Delete record?";

} // namespace

// The cell editor: one line with the field's edit text. A text the field
// refuses keeps the editor open (see TDBGrid::closeEditor).
class TGridCellDelegate : public QStyledItemDelegate {
public:
    explicit TGridCellDelegate(TDBGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        grid_.editor_ = editor;
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line) {
            QStyledItemDelegate::setModelData(editor, model, index);
            return;
        }
        if (!model->setData(index, line->text(), Qt::EditRole))
            grid_.commitFailed_ = true;
    }

private:
    TDBGrid& grid_;
};

TDBGrid::TDBGrid(TDataSource& dataSource, QWidget* parent)
    : QTableView(parent), dataSource_(dataSource), dataSet_(dataSource.DataSet()),
      model_(new TResultGridModel(dataSet_, this))
{
    setModel(model_);
    setItemDelegate(new TGridCellDelegate(*this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    setTabKeyNavigation(true);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QHeaderView* indicator = verticalHeader();
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setDefaultSectionSize(fontMetrics().height() + 4);
    indicator->setDefaultAlignment(Qt::AlignCenter);
    indicator->setHighlightSections(false);
    indicator->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("\u25B6")) + 8);
    model_->OnError = [this](const std::string& message) { Report(message); };
    dataSource_.AddView(this);
    Reload(true);
}

TDBGrid::~TDBGrid()
{
    dataSource_.RemoveView(this);
}

TField* TDBGrid::SelectedField() const
{
    return model_->FieldOf(currentColumn_);
}

void TDBGrid::DataSetChanged(TDataSetChange change)
{
    switch (change) {
    case TDataSetChange::Opened:
    case TDataSetChange::Closed:
        Reload(true);
        break;
    case TDataSetChange::Redisplay:
        Reload(false);
        break;
    case TDataSetChange::RowsAppended:
        model_->RowsAppended();
        break;
    case TDataSetChange::Scrolled:
        ShowCurrentRecord();
        break;
    case TDataSetChange::RecordChanged:
        model_->RecordChanged(dataSet_.CurrentRecord());
        break;
    case TDataSetChange::StateChanged:
        MarkCurrentRecord();
        break;
    case TDataSetChange::UpdateRecord:
        CommitOpenEditor();
        break;
    }
}

void TDBGrid::Reload(bool newColumns)
{
    syncing_ = true;
    const int column = currentColumn_;
    model_->Reload();
    markedRow_ = -1;
    if (newColumns) {
        SetColumnWidths();
        currentColumn_ = model_->columnCount() > 0 ? 0 : -1;
    } else {
        currentColumn_ = std::min(column, model_->columnCount() - 1);
    }
    syncing_ = false;
    ShowCurrentRecord();
}

// (width of "0") × display width + 4 pixels of margin.
void TDBGrid::SetColumnWidths()
{
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < model_->columnCount(); ++c)
        setColumnWidth(c, digit * DisplayWidth(*model_->FieldOf(c)) + 4);
}

void TDBGrid::ShowCurrentRecord()
{
    if (!dataSet_.Active() || model_->rowCount() == 0 || currentColumn_ < 0) {
        MarkCurrentRecord();
        return;
    }
    const int row = std::min(dataSet_.CurrentRecord(), model_->rowCount() - 1);
    const QModelIndex target = model_->index(row, currentColumn_);
    if (currentIndex() != target) {
        syncing_ = true;
        setCurrentIndex(target);
        syncing_ = false;
    }
    scrollTo(target);
    MarkCurrentRecord();
}

void TDBGrid::MarkCurrentRecord()
{
    const int row = dataSet_.Active() ? dataSet_.CurrentRecord() : -1;
    if (markedRow_ != row)
        model_->IndicatorChanged(markedRow_);
    model_->IndicatorChanged(row);
    markedRow_ = row;
}

void TDBGrid::Report(const std::string& message)
{
    // Shown once the grid's own event has ended, so that a message box does
    // not pull the focus from a cell editor in the middle of its work.
    QTimer::singleShot(0, this, [this, message] {
        if (OnError)
            OnError(message);
    });
}

bool TDBGrid::Attempt(const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const std::exception& error) {
        Report(error.what());
        return false;
    }
}

bool TDBGrid::CommitOpenEditor()
{
    if (!editor_)
        return true;
    commitFailed_ = false;
    QTableView::commitData(editor_);
    return !std::exchange(commitFailed_, false);
}

void TDBGrid::commitData(QWidget* editor)
{
    commitFailed_ = false;
    QTableView::commitData(editor);
}

void TDBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // The text the field refused stays in the editor, with the focus.
    if (std::exchange(commitFailed_, false)) {
        editor->setFocus();
        return;
    }
    QTableView::closeEditor(editor, hint);
    if (editor == editor_)
        editor_ = nullptr;
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (syncing_) {
        QTableView::currentChanged(current, previous);
        return;
    }
    auto refuse = [&] {
        syncing_ = true;
        selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
        syncing_ = false;
    };
    if (editor_ && previous.isValid()) {
        if (!CommitOpenEditor()) {
            refuse();
            return;
        }
        QTableView::closeEditor(editor_, QAbstractItemDelegate::NoHint);
        editor_ = nullptr;
    }
    if (current.isValid() && current.row() != dataSet_.CurrentRecord()) {
        if (!Attempt([&] { dataSet_.MoveTo(current.row()); })) {
            refuse();
            return;
        }
    }
    QTableView::currentChanged(current, previous);
    if (current.isValid() && current.column() != currentColumn_) {
        currentColumn_ = current.column();
        emit ColEnter();
    }
}

bool TDBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool wouldEdit = index.isValid() && (editTriggers() & trigger) && !editor_;
    if (wouldEdit && !dataSet_.CanModify()) {
        Attempt([this] { dataSet_.Edit(); });  // says why not
        return false;
    }
    if (wouldEdit && !Attempt([&] {
            dataSet_.MoveTo(index.row());
            dataSet_.Edit();
        }))
        return false;
    return QTableView::edit(index, trigger, event);
}

bool TDBGrid::OnLastRecord() const
{
    return dataSet_.CurrentRecord() >= dataSet_.FetchedRecordCount() - 1 && !dataSet_.CanFetchMore();
}

void TDBGrid::keyPressEvent(QKeyEvent* event)
{
    if (!dataSet_.Active()) {
        QTableView::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Down:
        if (modifiers != Qt::NoModifier)
            break;
        if (dataSet_.State() == TDataSetState::Insert && !dataSet_.Modified()) {
            Attempt([this] { dataSet_.Cancel(); });
            return;
        }
        if (OnLastRecord() && dataSet_.CanModify() && dataSet_.FetchedRecordCount() > 0) {
            if (CommitOpenEditor())
                Attempt([this] { dataSet_.Append(); });
            return;
        }
        break;
    case Qt::Key_Insert:
        if (modifiers == Qt::NoModifier && dataSet_.CanModify()) {
            if (CommitOpenEditor())
                Attempt([this] { dataSet_.Insert(); });
            return;
        }
        break;
    case Qt::Key_Delete:
        if (modifiers == Qt::ControlModifier) {
            if (dataSet_.CanModify() && dataSet_.FetchedRecordCount() > 0 && OnConfirm &&
                OnConfirm(kDeleteQuestion))
                Attempt([this] { dataSet_.Delete(); });
            return;
        }
        break;
    case Qt::Key_Escape:
        if (dataSet_.State() != TDataSetState::Browse) {
            Attempt([this] { dataSet_.Cancel(); });
            return;
        }
        break;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (modifiers == Qt::ControlModifier) {
            if (CommitOpenEditor())
                Attempt([&] { event->key() == Qt::Key_Home ? dataSet_.First() : dataSet_.Last(); });
            return;
        }
        break;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

// Leaving the grid drops an insertion nobody has changed.
void TDBGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    QWidget* focus = QApplication::focusWidget();
    const bool leftGrid = !focus || (focus != this && !isAncestorOf(focus));
    if (leftGrid && dataSet_.State() == TDataSetState::Insert && !dataSet_.Modified() && !editor_)
        Attempt([this] { dataSet_.Cancel(); });
}
