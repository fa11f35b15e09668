#include "DataLinkBox.h"

#include <QAbstractItemView>
#include <QScrollBar>

TDataLinkBox::TDataLinkBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::currentTextChanged, this, [this](const QString& text) { setToolTip(text); });
}

void TDataLinkBox::showPopup()
{
    // Measured when the list opens rather than whenever it changes: a long
    // recent list then costs nothing until it is looked at.
    QAbstractItemView* list = view();
    const int scrollBar = list->verticalScrollBar()->sizeHint().width();
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + scrollBar);
    QComboBox::showPopup();
}
