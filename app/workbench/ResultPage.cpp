// The Result page: the grid over dsAdo, the selected value in the value pane,
// and string values read as OEM (code page 866) text on request.

#include "MainForm.h"

#include <QCheckBox>
#include <QPlainTextEdit>

#include "CodePage.h"
#include "DBGrid.h"
#include "Desktop.h"
#include "QtText.h"

void TfmMain::ConnectResultPage()
{
    dsAdo.AfterOpen = [this](TDataSet& dataSet) { dsAdoAfterOpen(dataSet); };
    DataSource1.OnDataChange = [this] { Guarded([this] { DataSource1DataChange(); }); };
    connect(DBGrid1, &TDBGrid::ColEnter, this, [this] { Guarded([this] { DBGrid1ColEnter(); }); });
    connect(chbCP866, &QCheckBox::toggled, this, [this] { Guarded([this] { chbCP866Click(); }); });
    DBGrid1->OnConfirm = [this](const std::string& question) { return desktop_.ConfirmOkCancel(question); };
    DBGrid1->OnError = [this](const std::string& message) { desktop_.ShowError(message); };
}

void TfmMain::dsAdoAfterOpen(TDataSet& dataSet)
{
    HookStringFields(dataSet);
}

void TfmMain::HookStringFields(TDataSet& dataSet)
{
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        TField& field = dataSet.Fields(i);
        const TFieldType type = field.DataType();
        if (type == ftString || type == ftMemo || type == ftWideString)
            field.SetOnGetText([this](const TField& sender, std::string& text, bool displayText) {
                OemFieldGetText(sender, text, displayText);
            });
    }
}

// The stored characters, converted from code page 866 when the box is ticked.
// Display and edit text are the same.
void TfmMain::OemFieldGetText(const TField& sender, std::string& text, bool)
{
    text = sender.ValueText();
    if (!text.empty() && chbCP866->isChecked())
        text = CodePage::Convert(text, "CP866", CodePage::ProgramName().c_str());
}

void TfmMain::ShowFieldValue()
{
    if (const TField* field = DBGrid1->SelectedField())
        redMemo->setPlainText(ToQString(field->FieldText()));
}

void TfmMain::DBGrid1ColEnter()
{
    ShowFieldValue();
}

void TfmMain::DataSource1DataChange()
{
    ShowFieldValue();
}

void TfmMain::chbCP866Click()
{
    dsAdo.Resync();
}
