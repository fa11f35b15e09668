// The Result page: the grid over dsAdo with its keys and notifications, the
// value pane and the OEM text hook, driven on a real SQLite file.

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include "ResultGridModel.h"
#include "QtText.h"
#include "QueryRows.h"
#include "WindowFixture.h"
#include "data/TestDatabase.h"

namespace {

class ResultPageTest : public WindowTest {
protected:
    TfmMain& Window()
    {
        TfmMain& window = Start();
        MakeDatabase(InProgramDir("db.sqlite"), R"(
            CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT, n INT, ok BOOLEAN, note TEXT);
            INSERT INTO t VALUES (1, CAST(X'8fe0a8a2a5e2' AS TEXT), 10, NULL, 'line one' || char(10) || 'line two');
            INSERT INTO t VALUES (2, 'plain', 20, 1, '');
            INSERT INTO t VALUES (3, NULL, 30, 0, NULL);
            CREATE TABLE u(t_id INT, label TEXT);
            INSERT INTO u VALUES (1, 'a'), (2, 'b');
        )");
        Write("db.udl", Utf16Udl("Provider=SQLite;Data Source=db.sqlite"));
        window.cnAdo.SetConnectionString("FILE NAME=" + InProgramDir("db.udl"));
        window.PageCtrl->setCurrentWidget(window.tsResult);
        window.show();
        QApplication::setActiveWindow(&window);
        return window;
    }

    void Open(TfmMain& window, const std::string& sql)
    {
        window.dsAdo.Close();
        window.dsAdo.SetCommandText(sql);
        window.dsAdo.Open();
        window.DBGrid1->setFocus();
    }

    static std::string Cell(TfmMain& window, int row, int column, int role = Qt::DisplayRole)
    {
        const QVariant value = window.DBGrid1->model()->index(row, column).data(role);
        return FromQString(value.toString());
    }

    static std::string Pane(TfmMain& window) { return FromQString(window.redMemo->toPlainText()); }

    static void Key(TfmMain& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.DBGrid1;
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        // The editor commits in a queued call, which may report an error in another.
        QApplication::processEvents();
        QApplication::processEvents();
    }

    // Typing: the first key opens the cell editor, the rest go into it.
    static void Type(TfmMain& window, const std::string& text)
    {
        for (char c : text) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.DBGrid1;
            QTest::keyClick(target, c);
        }
    }

    // The rows of t as "id|name|n", as the database holds them.
    std::vector<std::string> TableRows(const std::string& columns = "id, name, n")
    {
        return QueryRows("FILE NAME=" + InProgramDir("db.udl"), "SELECT " + columns + " FROM t ORDER BY id");
    }
};

using Texts = std::vector<std::string>;

TEST_F(ResultPageTest, GridShowsFieldsRecordsAndTheCurrentOne)
{
    TfmMain& window = Window();
    Open(window, "SELECT id, name, n, ok, note FROM t WHERE 1=2");
    QAbstractItemModel* model = window.DBGrid1->model();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(model->columnCount(), 5);
    EXPECT_EQ(FromQString(model->headerData(4, Qt::Horizontal).toString()), "note");

    Open(window, "SELECT ok, note, n AS number FROM t ORDER BY id");
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(FromQString(model->headerData(2, Qt::Horizontal).toString()), "number");
    EXPECT_EQ(model->rowCount(), 3);
    // Booleans are check boxes: greyed for null.
    EXPECT_EQ(model->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::PartiallyChecked);
    EXPECT_EQ(model->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(model->index(2, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    // A memo shows its text on one line, and whole in the value pane.
    EXPECT_EQ(Cell(window, 0, 1), "line one line two");
    QTest::keyClick(window.DBGrid1, Qt::Key_Right);
    EXPECT_EQ(Pane(window), "line one\nline two");
    // Painting other rows leaves the current record alone.
    EXPECT_EQ(Cell(window, 2, 2), "30");
    EXPECT_EQ(window.dsAdo.CurrentRecord(), 0);
    EXPECT_FALSE(model->headerData(0, Qt::Vertical).toString().isEmpty());
    EXPECT_TRUE(model->headerData(1, Qt::Vertical).toString().isEmpty());
    // Column widths follow the field's display width (a 64-bit integer: 15).
    const int digit = window.DBGrid1->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    EXPECT_EQ(window.dsAdo.Fields(2).DataType(), ftLargeint);
    EXPECT_EQ(window.DBGrid1->columnWidth(2), digit * 15 + 4);

    // The grid's current row and the dataset's current record follow each other.
    Key(window, Qt::Key_Down);
    EXPECT_EQ(window.dsAdo.CurrentRecord(), 1);
    window.dsAdo.MoveTo(2);
    EXPECT_EQ(window.DBGrid1->currentIndex().row(), 2);
    EXPECT_EQ(window.DBGrid1->currentIndex().column(), 1);
    window.dsAdo.Close();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(window.DBGrid1->SelectedField(), nullptr);
}

TEST_F(ResultPageTest, ColumnEnterOnlyForColumnChangesAndThePaneFollowsBoth)
{
    TfmMain& window = Window();
    Open(window, "SELECT id, n FROM t ORDER BY id");
    QSignalSpy columnEnters(window.DBGrid1, &TDBGrid::ColEnter);
    EXPECT_EQ(Pane(window), "1");
    Key(window, Qt::Key_Right);
    EXPECT_EQ(columnEnters.count(), 1);
    EXPECT_EQ(Pane(window), "10");
    Key(window, Qt::Key_Down);
    Key(window, Qt::Key_Down);
    EXPECT_EQ(columnEnters.count(), 1);
    EXPECT_EQ(Pane(window), "30");
    Key(window, Qt::Key_Left);
    Key(window, Qt::Key_Tab);
    EXPECT_EQ(columnEnters.count(), 3);
    EXPECT_EQ(window.DBGrid1->SelectedField()->FieldName(), "n");
    // Another result: the pane shows its first value.
    Open(window, "SELECT n FROM t ORDER BY id DESC");
    EXPECT_EQ(Pane(window), "30");
}

TEST_F(ResultPageTest, OemCodePageConvertsStringFieldsOnly)
{
    TfmMain& window = Window();
    Open(window, "SELECT name, n, note, ok FROM t ORDER BY id");
    for (int i = 0; i < window.dsAdo.FieldCount(); ++i) {
        const TField& field = window.dsAdo.Fields(i);
        EXPECT_EQ(static_cast<bool>(field.OnGetText()), field.DataType() == ftString || field.DataType() == ftMemo)
            << field.FieldName();
    }
    const std::string stored = "\x8f\xe0\xa8\xa2\xa5\xe2";
    EXPECT_EQ(FromQString(ToQString(Cell(window, 0, 0))), FromQString(ToQString(stored)));
    window.chbCP866->click();
    EXPECT_EQ(Cell(window, 0, 0), "Привет");
    EXPECT_EQ(Pane(window), "Привет");
    EXPECT_EQ(Cell(window, 0, 1), "10");
    EXPECT_EQ(Cell(window, 1, 0), "plain");
    EXPECT_EQ(Cell(window, 2, 0), "");
    EXPECT_EQ(window.dsAdo.Fields(0).FieldText(), "Привет");
    window.chbCP866->click();
    EXPECT_EQ(window.dsAdo.Fields(0).FieldText(), stored);
    EXPECT_EQ(Pane(window), FromQString(ToQString(stored)));

    window.dsAdo.Close();
    window.chbCP866->click();  // no result: only the box changes
    EXPECT_TRUE(desktop_.errors.empty());
}

TEST_F(ResultPageTest, KeysEditInsertAppendAndDelete)
{
    TfmMain& window = Window();
    Open(window, "SELECT id, name, n FROM t ORDER BY id");
    // F2, a new text, and moving to another record posts it.
    Key(window, Qt::Key_Right);
    Key(window, Qt::Key_F2);
    ASSERT_TRUE(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    EXPECT_EQ(window.dsAdo.State(), TDataSetState::Edit);
    EXPECT_EQ(FromQString(window.DBGrid1->model()->headerData(0, Qt::Vertical).toString()), "I");
    qobject_cast<QLineEdit*>(QApplication::focusWidget())->setText("first");
    Key(window, Qt::Key_Return);
    Key(window, Qt::Key_Down);
    EXPECT_EQ(window.dsAdo.State(), TDataSetState::Browse);
    EXPECT_EQ(TableRows()[0], "1|first|10");

    // Esc drops a pending edit.
    Type(window, "x");
    Key(window, Qt::Key_Return);
    EXPECT_EQ(Cell(window, 1, 1), "x");
    Key(window, Qt::Key_Escape);
    EXPECT_EQ(Cell(window, 1, 1), "plain");
    EXPECT_EQ(window.dsAdo.State(), TDataSetState::Browse);

    // Down on the last record appends; Down on the untouched new record drops it.
    Key(window, Qt::Key_Down);
    Key(window, Qt::Key_Down);
    EXPECT_EQ(window.dsAdo.State(), TDataSetState::Insert);
    EXPECT_EQ(window.DBGrid1->model()->rowCount(), 4);
    EXPECT_EQ(FromQString(window.DBGrid1->model()->headerData(3, Qt::Vertical).toString()), "*");
    Key(window, Qt::Key_Down);
    EXPECT_EQ(window.dsAdo.State(), TDataSetState::Browse);
    EXPECT_EQ(window.DBGrid1->model()->rowCount(), 3);

    // Insert puts a new record at the current position.
    Key(window, Qt::Key_Insert);
    EXPECT_EQ(window.dsAdo.CurrentRecord(), 2);
    Type(window, "new");
    Key(window, Qt::Key_Return);
    Key(window, Qt::Key_Up);
    EXPECT_EQ(TableRows(), (Texts{"1|first|10", "2|plain|20", "3||30", "4|new|"}));

    // Ctrl+Delete asks; Cancel keeps the record, OK deletes it.
    desktop_.confirmAnswers = {false, true};
    Key(window, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(TableRows().size(), 4u);
    Key(window, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(desktop_.questions, (Texts{"Delete record?", "Delete record?"}));
    EXPECT_EQ(TableRows(), (Texts{"1|first|10", "3||30", "4|new|"}));
    EXPECT_TRUE(desktop_.errors.empty());

    // Nothing to delete in an empty result.
    Open(window, "SELECT id FROM t WHERE 1=2");
    Key(window, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(desktop_.questions.size(), 2u);
}

TEST_F(ResultPageTest, ARefusedTextKeepsTheEditorOpen)
{
    TfmMain& window = Window();
    Open(window, "SELECT n FROM t ORDER BY id");
    Type(window, "1x");
    Key(window, Qt::Key_Return);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(editor);
    EXPECT_EQ(FromQString(editor->text()), "1x");
    EXPECT_EQ(desktop_.errors, Texts{"'1x' is not a valid integer value"});
    // Moving away is refused too, and nothing reached the table.
    Key(window, Qt::Key_Down);
    EXPECT_EQ(window.dsAdo.CurrentRecord(), 0);
    EXPECT_EQ(TableRows("id, n")[0], "1|10");
    editor->setText("12");
    Key(window, Qt::Key_Return);
    Key(window, Qt::Key_Down);
    EXPECT_EQ(window.dsAdo.CurrentRecord(), 1);
    EXPECT_EQ(TableRows("id, n")[0], "1|12");
}

TEST_F(ResultPageTest, AJoinCannotBeEdited)
{
    TfmMain& window = Window();
    Open(window, "SELECT t.id, u.label FROM t JOIN u ON u.t_id = t.id");
    Key(window, Qt::Key_F2);
    EXPECT_EQ(desktop_.errors, Texts{"This result cannot be edited: its rows do not come from one table."});
    EXPECT_EQ(window.dsAdo.State(), TDataSetState::Browse);
    Key(window, Qt::Key_Insert);
    EXPECT_EQ(window.DBGrid1->model()->rowCount(), 2);
}

TEST_F(ResultPageTest, ATypedChangeIsPostedBeforeTheResultGoesAway)
{
    TfmMain& window = Window();
    Open(window, "SELECT id, n FROM t ORDER BY id");
    window.dsAdo.Fields(1).SetText("99");
    Open(window, "SELECT id FROM t");
    EXPECT_EQ(TableRows("id, n")[0], "1|99");

    // When the change cannot be written the window stays open with it.
    Open(window, "SELECT n FROM t ORDER BY id");
    window.dsAdo.Fields(0).SetText("5");
    MakeDatabase(InProgramDir("db.sqlite"), "UPDATE t SET n = 7 WHERE id = 1");
    EXPECT_FALSE(window.close());
    EXPECT_EQ(desktop_.errors, Texts{"The record was changed or deleted by someone else since it was read."});
    EXPECT_EQ(window.dsAdo.Fields(0).ValueText(), "5");
    window.dsAdo.Cancel();
    EXPECT_TRUE(window.close());
}

// A later batch that cannot be fetched shows the provider's error; the rows
// before it stay in the grid.
TEST_F(ResultPageTest, AFailedFetchShowsTheErrorAndKeepsTheRows)
{
    TfmMain& window = Window();
    Open(window, "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 3000)"
                 " SELECT CASE WHEN x > 1500 THEN abs(-9223372036854775807 - 1) ELSE x END AS v FROM n");
    QAbstractItemModel* model = window.DBGrid1->model();
    for (int guard = 0; guard < 10 && model->canFetchMore({}); ++guard)
        model->fetchMore({});
    QApplication::processEvents();
    EXPECT_FALSE(model->canFetchMore({}));
    EXPECT_EQ(desktop_.errors, Texts{"integer overflow"});
    EXPECT_EQ(model->rowCount(), 1500);
    EXPECT_EQ(Cell(window, 1499, 0), "1500");
}

} // namespace
