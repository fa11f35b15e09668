#include "LongRun.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>

#include "Desktop.h"
#include "MainForm.h"

TLongRun::TLongRun(TfmMain& window) : window_(window)
{
    window_.longRun_ = true;
    window_.stopRequested_ = false;
    for (QWidget* command : std::initializer_list<QWidget*>{
             window_.btnRun, window_.btnPrev, window_.btnNext, window_.btnLoadSql, window_.btnConnect,
             window_.tvDbObjects, window_.DBGrid1, window_.chbCP866, window_.btnExtractMetadata,
             window_.btnSaveAsSQL, window_.btnSaveAsText}) {
        heldBack_.emplace_back(command, command->isEnabled());
        command->setEnabled(false);
    }
    window_.btnStop->setEnabled(true);
}

TLongRun::~TLongRun()
{
    window_.btnStop->setEnabled(false);
    for (auto& [command, enabled] : heldBack_)
        if (command)
            command->setEnabled(enabled);
    window_.longRun_ = false;
    window_.stopRequested_ = false;
    if (window_.closeAfterRun_) {
        window_.closeAfterRun_ = false;
        // After the caller's own last steps (the history entry, the error box).
        QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
    }
}

void TLongRun::ProcessMessages()
{
    window_.desktop_.ProcessMessages();
}

bool TLongRun::ShouldStop()
{
    if (!window_.stopRequested_)
        return false;
    if (!stopLogged_) {
        stopLogged_ = true;
        window_.LogInfo("Stopped by the user.");
    }
    return true;
}

void TfmMain::btnStopClick()
{
    if (longRun_)
        stopRequested_ = true;
}

void TfmMain::closeEvent(QCloseEvent* event)
{
    // A long run is inside this window's handlers: it is stopped first, and
    // the window closes when it has ended.
    if (longRun_) {
        stopRequested_ = true;
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    // A change typed into the result and not yet posted is written first;
    // when that fails the window stays open with the change.
    if (!Guarded([this] { dsAdo.CheckBrowseMode(); })) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
