// Quillet, a desktop SQL console.

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>

#include "CommandLine.h"
#include "HeadlessDesktop.h"
#include "MainForm.h"
#include "ProgramFiles.h"
#include "QtDesktop.h"

int main(int argc, char* argv[])
{
    if (const auto information = InformationRequested(argc, argv)) {
        std::fputs(information->c_str(), stdout);
        return 0;
    }
    // A task runs unattended: without a display it runs offscreen, and its
    // exit status tells whether it succeeded.
    const bool taskMode = argc == 3 && std::strcmp(argv[1], "-task") == 0;
    if (taskMode)
        ChooseOffscreenWithoutDisplay();

    // The parameters are the program's own, taken as bytes before Qt sees
    // them: Qt would decode file names and act on options of its own
    // ("-reverse", "-qwindowtitle"), changing what "exactly two
    // parameters" means. Qt gets the program name only.
    const TStringList arguments(argv + 1, argv + argc);
    const std::string programFile = ProgramFileName(argv[0]);
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    // QApplication takes the C library's locale from the environment; numbers
    // inside the program, and those ODBC drivers write as text, keep the point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("quillet"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillet"));
    // Lets desktops match the window with the installed quillet.desktop and its icon.
    QApplication::setDesktopFileName(QStringLiteral("quillet"));

    const std::unique_ptr<TQtDesktop> desktop = taskMode && IsHeadlessPlatform()
                                                    ? std::make_unique<THeadlessDesktop>()
                                                    : std::make_unique<TQtDesktop>();
    TfmMain fmMain(*desktop, programFile, arguments);
    desktop->SetOwner(&fmMain);
    QApplication::setWindowIcon(fmMain.windowIcon());  // the boxes' too
    // Centred on the desktop when restored from maximized.
    if (const QScreen* screen = fmMain.screen())
        fmMain.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, fmMain.size(),
                                               screen->availableGeometry()));
    if (!desktop->WorkEnded())
        fmMain.showMaximized();
    if (!desktop->WorkEnded())
        application.exec();
    return taskMode && desktop->ErrorsShown() > 0 ? 1 : 0;
}
