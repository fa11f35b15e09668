#pragma once
// What the program needs of the desktop it runs on: message boxes, the
// open-file dialog, handing documents to other programs, and the message
// loop. The window talks to the desktop only through this interface, so that
// tests can answer its questions and see what it showed.
//
// All texts and file names are 8-bit text in the program code page.

#include <optional>
#include <string>

class TDesktop {
public:
    virtual ~TDesktop() = default;

    // A notice with an OK button.
    virtual void ShowNotice(const std::string& text) = 0;
    // An error message with an OK button.
    virtual void ShowError(const std::string& text) = 0;
    // The question box titled "Confirm" with Yes and No buttons; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // A confirmation with OK and Cancel buttons; true unless Cancel. A
    // desktop without such a box asks its Yes/No question.
    virtual bool ConfirmOkCancel(const std::string& text) { return Confirm(text); }

    // The open-file dialog. The filter is "Description|pattern" pairs joined
    // by '|' (e.g. "Universal Data Link files|*.udl"); an empty initial
    // directory leaves the choice to the dialog. Nothing when cancelled.
    virtual std::optional<std::string> OpenFileName(const std::string& filter,
                                                    const std::string& initialDir) = 0;

    // Opens a document with the program the desktop associates with it.
    // The outcome is not reported.
    virtual void OpenDocument(const std::string& fileName) = 0;
    // Starts the user's text editor on a file. The outcome is not reported.
    virtual void EditTextFile(const std::string& fileName) = 0;

    // Lets the window repaint and take input during a long loop.
    virtual void ProcessMessages() = 0;

    // The window added a line to its information list. A desktop whose
    // window no one sees passes it on; others need do nothing.
    virtual void InfoLogged(const std::string& /*line*/) {}
};
