// The schema browser on the SQL page: the object tree of tables, views and
// procedures, and the field list of the table clicked in it.

#include <QListWidget>
#include <QTreeWidget>

#include "Desktop.h"
#include "MainForm.h"
#include "QtText.h"

namespace {

constexpr int kFieldNameWidth = 50;
// Where a node keeps the name its object has in SQL.
constexpr int kSqlNameRole = Qt::UserRole;

// Adds the objects as children of the node in one batch, so that the tree
// lays itself out once.
void AddChildren(QTreeWidgetItem* node, const std::vector<TSchemaObject>& objects, TConnection& connection)
{
    const std::string quote = connection.IdentifierQuote();
    const TIdentifierCase folding = connection.IdentifierCase();
    QList<QTreeWidgetItem*> children;
    children.reserve(static_cast<qsizetype>(objects.size()));
    for (const TSchemaObject& object : objects) {
        auto* child = new QTreeWidgetItem(QStringList(ToQString(object.Text())));
        child->setData(0, kSqlNameRole, ToQString(object.SqlName(quote, folding)));
        children.append(child);
    }
    node->addChildren(children);
}

} // namespace

void TfmMain::LoadSchema()
{
    QTreeWidgetItem* tables = tvDbObjects->topLevelItem(0);
    try {
        AddChildren(tables, cnAdo.Tables(), cnAdo);
        tables->setExpanded(true);
    } catch (const std::exception&) {
        desktop_.ShowNotice("Failed to get list of tables.");
    }
    try {
        AddChildren(tvDbObjects->topLevelItem(1), cnAdo.Procedures(), cnAdo);
    } catch (const std::exception& error) {
        desktop_.ShowNotice(std::string("Failed to get list of procedures.\r\n") + error.what());
    }
}

void TfmMain::ShowTableFields()
{
    const QTreeWidgetItem* node = tvDbObjects->currentItem();
    if (!node || !node->parent() || node->parent()->text(0) != QStringLiteral("Tables"))
        return;
    lbFields->clear();
    dsAdo.Close();
    // A name that is not a plain identifier goes in the database's quotes.
    const QVariant sqlName = node->data(0, kSqlNameRole);
    const QString table = sqlName.isValid() ? sqlName.toString() : node->text(0);
    dsAdo.SetCommandText("SELECT * FROM " + FromQString(table) + " WHERE 1=2");
    dsAdo.Open();
    QStringList lines;
    for (int i = 0; i < dsAdo.FieldCount(); ++i) {
        const TField& field = dsAdo.Fields(i);
        lines.append(ToQString(field.FieldName()).leftJustified(kFieldNameWidth) +
                     QLatin1String(FieldTypeName(field.DataType())));
    }
    lbFields->addItems(lines);
}

void TfmMain::tvDbObjectsClick()
{
    ShowTableFields();
}
