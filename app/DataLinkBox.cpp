#include "DataLinkBox.h"

#include <QAbstractItemView>
#include <QScrollBar>

TDataLinkBox::TDataLinkBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Its place is fixed: measuring every entry for a size hint would only
    // hold up the first showing of a long list.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
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
