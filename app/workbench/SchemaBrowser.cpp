// The schema browser on the SQL page: the object tree of tables, views and
// procedures, and the field list of the table clicked in it.

#include <QListWidget>
#include <QTreeWidget>

#include "Desktop.h"
#include "MainForm.h"
#include "QtText.h"

namespace {

constexpr int kFieldNameWidth = 50;

// Adds the names as children of the node in one batch, so that the tree lays
// itself out once.
void AddChildren(QTreeWidgetItem* node, const TStringList& names)
{
    QList<QTreeWidgetItem*> children;
    children.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names)
        children.append(new QTreeWidgetItem(QStringList(ToQString(name))));
    node->addChildren(children);
}

} // namespace

void TfmMain::LoadSchema()
{
    try {
        TStringList tables;
        cnAdo.GetTableNames(tables);
        AddChildren(tvDbObjects->topLevelItem(0), tables);
        tvDbObjects->topLevelItem(0)->setExpanded(true);
    } catch (const std::exception&) {
        desktop_.ShowNotice("Failed to get list of tables.");
    }
    try {
        TStringList procedures;
        cnAdo.GetProcedureNames(procedures);
        AddChildren(tvDbObjects->topLevelItem(1), procedures);
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
    dsAdo.SetCommandText("SELECT * FROM " + FromQString(node->text(0)) + " WHERE 1=2");
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
