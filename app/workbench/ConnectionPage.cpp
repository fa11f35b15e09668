// The Connection page: naming a data link file, connecting and disconnecting,
// and the recent list of data link files in the data link box.

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <algorithm>

#include "Desktop.h"
#include "MainForm.h"
#include "ProgramFiles.h"
#include "QtText.h"

void TfmMain::SetConnectionString()
{
    cnAdo.SetConnectionString("FILE NAME=" + FromQString(fedDataLink->currentText()));
}

void TfmMain::SetConnected(bool value)
{
    if (value) {
        const std::string dataLink = FromQString(fedDataLink->currentText());
        // An open connection is kept; the steps after opening still run.
        if (!cnAdo.Connected()) {
            SetConnectionString();
            cnAdo.Open();
            dataLinkDir_ = ExtractFilePath(dataLink);
        }
        UpdateRecentList(dataLink);
        LogInfo("Connection established.");
        btnConnect->setText(QStringLiteral("Disconnect"));
        if (chbGetTableNames->isChecked())
            LoadSchema();
        if (PageCtrl->currentWidget() == tsConnection)
            PageCtrl->setCurrentIndex(PageCtrl->currentIndex() + 1);
    } else {
        dsAdo.Close();
        cnAdo.Close();
        LogInfo("Connection closed.");
        btnConnect->setText(QStringLiteral("Connect"));
        for (int i = 0; i < tvDbObjects->topLevelItemCount(); ++i)
            qDeleteAll(tvDbObjects->topLevelItem(i)->takeChildren());
    }
}

// A new data link goes first in the list; a known one (letter case aside)
// changes places with the first entry and is shown as it is stored.
void TfmMain::UpdateRecentList(const std::string& dataLink)
{
    const TStringList items = RecentList();
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const std::string& item) { return SameNameNoCase(item, dataLink); });
    if (found == items.end()) {
        fedDataLink->insertItem(0, ToQString(dataLink));
        fedDataLink->setEditText(ToQString(dataLink));
        return;
    }
    const int index = static_cast<int>(found - items.begin());
    fedDataLink->setItemText(index, ToQString(items[0]));
    fedDataLink->setItemText(0, ToQString(*found));
    fedDataLink->setCurrentIndex(0);
    fedDataLink->setEditText(fedDataLink->itemText(0));
}

void TfmMain::btnConnectClick()
{
    SetConnected(!cnAdo.Connected());
}

void TfmMain::btnBrowseClick()
{
    if (const auto fileName = desktop_.OpenFileName("Universal Data Link files|*.udl", openDlgDir_))
        fedDataLink->setEditText(ToQString(*fileName));
}
