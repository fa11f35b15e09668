#pragma once
// The desktop of a running Qt application.

#include <QPointer>
#include <QWidget>

#include "Desktop.h"

class TQtDesktop : public TDesktop {
public:
    // Boxes and dialogs are owned by the window given here (may be none).
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowNotice(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    bool ConfirmOkCancel(const std::string& text) override;
    std::optional<std::string> OpenFileName(const std::string& filter,
                                            const std::string& initialDir) override;
    void OpenDocument(const std::string& fileName) override;
    void EditTextFile(const std::string& fileName) override;
    void ProcessMessages() override;

    // How many error messages were shown.
    int ErrorsShown() const { return errorsShown_; }
    // True once an error ended the program's work (the message loop must not
    // be entered, or is left).
    bool WorkEnded() const { return workEnded_; }

protected:
    void CountError() { ++errorsShown_; }
    void EndWork();

private:
    QPointer<QWidget> owner_;
    int errorsShown_ = 0;
    bool workEnded_ = false;
};

// "Description|pattern|..." as a Qt file dialog filter ("Description (pattern);;...").
QString QtFileFilter(const std::string& filter);
