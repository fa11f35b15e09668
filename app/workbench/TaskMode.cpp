// Task mode: a window started with "-task <file>" runs the task file's
// statement when it is shown, through the same operations the user drives by
// hand, writes the result as an INSERT script and closes.

#include <QCheckBox>
#include <QComboBox>

#include "MainForm.h"
#include "NameValues.h"
#include "QtText.h"
#include "SqlEditor.h"

std::string TfmMain::TaskValue(std::string_view name) const
{
    return ValueOfName(*taskValues_, name);
}

void TfmMain::RunTask()
{
    fedDataLink->setEditText(ToQString(TaskValue("UDL")));
    SetConnected(true);

    redSQL->SetText(TaskValue("SQL"));
    RunQuery();

    if (TaskValue("Cp866") == "1" && !chbCP866->isChecked())
        chbCP866->click();

    const std::string destFile = TaskValue("DestFile");
    if (!destFile.empty())
        ExportInsertScript(destFile, TaskValue("PutDeleteBeforeInserts") == "1");

    // Once the show step is over: closing a window while it is being shown
    // would leave it to be shown after all.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}
