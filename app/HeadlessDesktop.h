#pragma once
// The desktop of an unattended run that no one watches (a task started
// without a display, from cron or a script): the information list goes to
// standard output, an error goes to standard error and ends the program's
// work, every question is answered No (or Cancel), and no other program is started.

#include "QtDesktop.h"

class THeadlessDesktop : public TQtDesktop {
public:
    void ShowNotice(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    bool ConfirmOkCancel(const std::string& text) override;
    std::optional<std::string> OpenFileName(const std::string& filter, const std::string& initialDir) override;
    void OpenDocument(const std::string& fileName) override;
    void EditTextFile(const std::string& fileName) override;
    void InfoLogged(const std::string& line) override;
};

// Whether the Qt platform plugin in use shows nothing on a screen.
bool IsHeadlessPlatform();
// Chooses the offscreen platform when no display can be reached and no
// platform was named; must run before the application object is made.
void ChooseOffscreenWithoutDisplay();
