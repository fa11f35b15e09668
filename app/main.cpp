// Quillet, a desktop SQL console.

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <cstdio>
#include <cstring>
#include <memory>

#include "CommandLine.h"
#include "HeadlessDesktop.h"
#include "MainForm.h"
#include "QtDesktop.h"
#include "QtText.h"

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

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillet"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillet"));

    TStringList arguments;
    const QStringList parameters = QApplication::arguments();
    for (qsizetype i = 1; i < parameters.size(); ++i)
        arguments.push_back(FromQString(parameters[i]));

    const std::unique_ptr<TQtDesktop> desktop = taskMode && IsHeadlessPlatform()
                                                    ? std::make_unique<THeadlessDesktop>()
                                                    : std::make_unique<TQtDesktop>();
    TfmMain fmMain(*desktop, FromQString(QApplication::applicationFilePath()), arguments);
    desktop->SetOwner(&fmMain);
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
