#pragma once
// The texts the user sees in list boxes and tree nodes, as program text.

#include <QListWidget>
#include <QTreeWidget>

#include "QtText.h"
#include "TextLines.h"

inline TStringList ItemTexts(const QListWidget* list)
{
    TStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.push_back(FromQString(list->item(i)->text()));
    return texts;
}

inline TStringList ChildTexts(const QTreeWidgetItem* node)
{
    TStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts.push_back(FromQString(node->child(i)->text(0)));
    return texts;
}
