#pragma once
// A run that lets pending messages through (a script, a SQL file, the EXPORT
// command). While it goes on, every command that would close, reopen or move
// the result dataset or the connection is disabled and Stop is enabled; the
// user's Stop, or closing the window, ends the run at its next check.

#include <QPointer>
#include <utility>
#include <vector>

class QWidget;
class TfmMain;

class TLongRun {
public:
    explicit TLongRun(TfmMain& window);
    // Gives the commands back; closes the window when the user closed it meanwhile.
    ~TLongRun();
    TLongRun(const TLongRun&) = delete;
    TLongRun& operator=(const TLongRun&) = delete;

    // Lets the window repaint and take input.
    void ProcessMessages();
    // True when the user asked to stop; the first time, "Stopped by the user."
    // goes to the information list.
    bool ShouldStop();

private:
    TfmMain& window_;
    std::vector<std::pair<QPointer<QWidget>, bool>> heldBack_;
    bool stopLogged_ = false;
};
